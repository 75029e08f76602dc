#pragma once

#include <QString>
#include <QStringList>

#include "link/controller_link.h"

namespace kx {

// The Controller's command vocabulary as the developer console lists it ("" separates groups).
const QStringList& developerCommandList();
// The part of a list line before its first "-": the hex text a click sends.
QString commandOfListLine(const QString& line);

// The log keeps growing at its end; beyond 60,000 characters only the last 50,000 stay.
inline constexpr int kLogLimit = 60000;
inline constexpr int kLogKeep = 50000;
QString limitLog(const QString& log);

// Fun_模拟发送指令: the code text read as hexadecimal, the data text as argument bytes (spaces
// removed, two digits a byte). False (nothing sent) when either is not hexadecimal, the code
// is not one byte or the arguments are more than the Controller takes.
bool Fun_模拟发送指令(ControllerLink& link, const QString& codeText, const QString& dataText);

}  // namespace kx
