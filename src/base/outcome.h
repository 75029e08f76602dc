#pragma once

#include <QString>

namespace kx {

// What an operation did, and what the user is to be told about it ("" when nothing); the caller
// decides how to tell it.
struct Outcome {
    bool done = false;
    QString message;

    static Outcome success() { return {true, {}}; }
    static Outcome refused(const QString& message) { return {false, message}; }
};

}  // namespace kx
