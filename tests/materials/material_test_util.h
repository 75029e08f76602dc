#pragma once

#include <QByteArray>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "fixtures/fixture_library.h"
#include "materials/material.h"

namespace kx {

// Banks and Materials print as their shape, not as raw object bytes.
inline void PrintTo(const Material& m, std::ostream* os) {
    *os << "Material{steps " << m.stepCount() << ", F " << m.fixtureCount() << ", C "
        << m.channelCount() << "}";
}
inline void PrintTo(const MaterialBank& bank, std::ostream* os) {
    *os << "MaterialBank{";
    for (int n = 1; n <= kMaterialsPerBank; ++n)
        if (materialExists(bank.byNumber(n))) *os << n << " ";
    *os << "}";
}

}  // namespace kx

namespace kx::test {

// Expected bytes written field by field.
struct Bytes {
    std::vector<std::uint8_t> v;
    Bytes& operator()(std::initializer_list<int> bytes) {
        for (int b : bytes)
            v.push_back(static_cast<std::uint8_t>(b));
        return *this;
    }
    Bytes& zeros(int n) {
        v.insert(v.end(), n, 0);
        return *this;
    }
    Bytes& u16(int x) { return (*this)({(x >> 8) & 0xFF, x & 0xFF}); }
    Bytes& u24(int x) { return (*this)({(x >> 16) & 0xFF, (x >> 8) & 0xFF, x & 0xFF}); }
    Bytes& append(const QByteArray& a) {
        v.insert(v.end(), a.begin(), a.end());
        return *this;
    }
    QByteArray bytes() const {
        return QByteArray(reinterpret_cast<const char*>(v.data()), v.size());
    }
    int size() const { return static_cast<int>(v.size()); }
};

inline std::vector<std::uint8_t> toVector(const QByteArray& a) {
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

// Patches fixture number of page with the given port, start address and channel functions.
inline void patch(FixtureLibrary& lib, int page, int number, int port, int start,
                  std::initializer_list<int> functions) {
    Fixture& f = lib.at(page, number);
    f.port = static_cast<std::uint8_t>(port);
    f.startAddress = static_cast<std::int16_t>(start);
    f.channelCount = static_cast<std::uint8_t>(functions.size());
    int i = 0;
    for (int code : functions)
        f.functions[i++] = static_cast<std::uint8_t>(code);
}

// A Material with f Virtual Fixtures, c channels and n Steps.
inline Material sized(int f, int c, int n) {
    Material m;
    m.setFixtureCount(f);
    m.setChannelCount(c);
    m.setStepCount(n);
    return m;
}

// Sets every value of (Virtual Fixture 1, channels 1..) of a Step.
inline void setRow(Material& m, int step, std::initializer_list<int> values) {
    int i = 0;
    for (int value : values) {
        const int v = i / m.channelCount() + 1;
        const int k = i % m.channelCount() + 1;
        m.setValue(step, v, k, value);
        ++i;
    }
}

}  // namespace kx::test
