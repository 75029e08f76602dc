#include "materials/material_record.h"

#include <array>

#include "materials/output_map.h"
#include "storage/record_io.h"

namespace kx {

namespace {

// Probes without marking the buffer: a damaged position is the reader's verdict, not a fault.
bool fits(const RecordBuffer& buf, std::int64_t position, std::int64_t count) {
    return position >= 0 && count >= 0 && position + count <= buf.capacity();
}

std::int16_t signed16(int v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
}

void writeMappingBlock(const Material& m, const OutputMap& map, int& cursor, RecordBuffer& buf) {
    for (int k = 1; k <= m.channelCount(); ++k)
        Fun_Put1(m.channelFunction(k), cursor, buf);
    for (int v = 1; v <= m.fixtureCount(); ++v) {
        const auto list = map.fixturesOf(v);
        Fun_Put1(static_cast<int>(list.size()), cursor, buf);
        for (const std::uint8_t f : list)
            Fun_Put1(f, cursor, buf);
    }
}

void writeAddressTable(const Material& m, const OutputMap& map, int& cursor, RecordBuffer& buf) {
    Fun_Put2(map.byteTotal, cursor, buf);
    for (int v = 1; v <= m.fixtureCount(); ++v) {
        for (int k = 1; k <= m.channelCount(); ++k) {
            const auto list = map.channelsOf(v, k);
            Fun_Put1(static_cast<int>(list.size()), cursor, buf);
            for (const std::uint16_t a : list)
                Fun_Put2(a, cursor, buf);
        }
    }
}

// A Mapping Block as read: the channel functions and the (Virtual Fixture, fixture number) pairs.
struct MappingRead {
    std::array<std::uint8_t, kMaxMaterialChannels> functions{};
    std::vector<std::pair<int, int>> mapped;
};

// Reads a Mapping Block at cursor for m's counts; the cursor ends after it. Fixture numbers
// outside 1-100 are skipped.
bool readMappingBlock(const Material& m, int& cursor, RecordBuffer& buf, MappingRead& out) {
    const int C = m.channelCount();
    if (!fits(buf, cursor, C)) return false;
    for (int k = 0; k < C; ++k)
        out.functions[k] = static_cast<std::uint8_t>(Fun_Get1(cursor, buf));
    for (int v = 1; v <= m.fixtureCount(); ++v) {
        if (!fits(buf, cursor, 1)) return false;
        const int n = Fun_Get1(cursor, buf);
        if (!fits(buf, cursor, n)) return false;
        for (int i = 0; i < n; ++i) {
            const int f = Fun_Get1(cursor, buf);
            if (f >= 1 && f <= kFixturesPerPage) out.mapped.emplace_back(v, f);
        }
    }
    return true;
}

void applyMapping(Material& m, int page, const MappingRead& read) {
    for (int k = 1; k <= m.channelCount(); ++k)
        m.setChannelFunction(k, read.functions[k - 1]);
    for (const auto& [v, f] : read.mapped)
        m.setMapped(v, page, f, true);
}

// Steps over a Mapping Block and an Address Table; false when they run outside the buffer.
bool skipPageTables(const Material& m, int& cursor, const RecordBuffer& buf) {
    auto byteAt = [&](int p) { return buf.view()[p]; };
    cursor += m.channelCount();
    for (int v = 1; v <= m.fixtureCount(); ++v) {
        if (!fits(buf, cursor, 1)) return false;
        cursor += 1 + byteAt(cursor);
    }
    if (!fits(buf, cursor, 2)) return false;
    cursor += 2;
    for (int pair = 0; pair < m.cellsPerStep(); ++pair) {
        if (!fits(buf, cursor, 1)) return false;
        cursor += 1 + 2 * byteAt(cursor);
    }
    return fits(buf, 0, cursor);
}

}  // namespace

void writeMaterialRecord(const Material& m, const FixtureLibrary& lib, int& cursor,
                         RecordBuffer& buf) {
    const int S = m.stepCount();
    const bool marked = jumpMarkCount(m) > 0;
    std::array<std::uint8_t, kMaterialHeaderSize> h{};
    h[0] = static_cast<std::uint8_t>(S >> 8);
    h[1] = static_cast<std::uint8_t>(S);
    h[2] = static_cast<std::uint8_t>(
        (m.perStepTime() == 1 ? 0x01 : 0) | (m.allStepsFade() == 1 ? 0x02 : 0) |
        (marked ? 0x04 : 0) | (m.jumpAtRangeEnd() != 0 ? 0x08 : 0) |
        (m.motionMode() != 0 ? 0x10 : 0) | (m.runFromStart() != 0 ? 0x20 : 0));
    h[3] = static_cast<std::uint8_t>(m.jumpSize());
    h[4] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(m.unifiedTime()) >> 8);
    h[5] = static_cast<std::uint8_t>(m.unifiedTime());
    h[6] = static_cast<std::uint8_t>(m.fixtureCount());
    h[7] = static_cast<std::uint8_t>(m.channelCount());
    h[8] = static_cast<std::uint8_t>(m.brightnessCut());
    h[9] = static_cast<std::uint8_t>(m.startMode());
    h[10] = static_cast<std::uint8_t>(m.virtualDimming());
    h[11] = static_cast<std::uint8_t>(m.hardwareSpeed());
    Fun_PutBytes(kMaterialHeaderSize, h, cursor, buf);

    const int tableStart = cursor;
    cursor += 12 + 3 * S;
    std::vector<int> positions(4 + S, 0);
    for (int s = 1; s <= S; ++s) {
        positions[3 + s] = cursor;
        const StepInfo info = m.stepInfo(s);
        const bool dark = isDarkStep(m, s);
        Fun_Put2(info.stepTime, cursor, buf);
        Fun_Put1(
            (info.fadeToNext == 1 ? 0x01 : 0) | (info.jumpMark == 1 ? 0x02 : 0) | (dark ? 0x04 : 0),
            cursor, buf);
        if (!dark) {
            const auto row = m.stepValues(s);
            Fun_PutBytes(static_cast<int>(row.size()), row, cursor, buf);
        }
    }

    const OutputMap map = compileOutputMap(m, lib, 0);
    positions[0] = cursor;
    writeMappingBlock(m, map, cursor, buf);
    positions[1] = cursor;
    writeAddressTable(m, map, cursor, buf);

    if (marked) {
        Fun_Put2(jumpMarkCount(m), cursor, buf);
        for (int s = 1; s <= S; ++s)
            if (m.stepInfo(s).jumpMark == 1) Fun_Put2(s, cursor, buf);
    }

    positions[3] = cursor;
    Fun_PutStr(m.remark(), kMaterialRemarkMax, cursor, buf);
    Fun_Put1(m.usedTempChannels(), cursor, buf);
    for (int e = 1; e <= kTempChannelEntries; ++e)
        if (m.tempChannel(e) != 0) Fun_Put1(m.tempChannel(e), cursor, buf);

    Fun_PutInt24Table(tableStart, positions, buf);

    if (m.motionMode() != 0) {
        Fun_Put1(m.motionMode(), cursor, buf);
        for (int i = 1; i <= kMotionParameters; ++i) {
            Fun_Put2(m.motionGlobal(i), cursor, buf);
            for (int v = 1; v <= m.fixtureCount(); ++v)
                Fun_Put2(m.motionPerFixture(v, i), cursor, buf);
        }
    }
}

bool readMaterialRecord(Material& out, int& cursor, RecordBuffer& buf, int& pageBlockPosition) {
    if (!fits(buf, cursor, kMaterialHeaderSize)) return false;
    std::array<std::uint8_t, kMaterialHeaderSize> h{};
    Fun_GetBytes(kMaterialHeaderSize, h, cursor, buf);
    const int S = h[0] << 8 | h[1];
    const int flags = h[2];

    Material m;
    // Counts first, so the Steps are laid out once.
    if (!m.setFixtureCount(h[6]) || !m.setChannelCount(h[7]) || !m.setStepCount(S) ||
        !m.setJumpSize(h[3]) || !m.setUnifiedTime(signed16(h[4] << 8 | h[5])) ||
        !m.setBrightnessCut(h[8]) || !m.setStartMode(h[9]) || !m.setVirtualDimming(h[10]) ||
        !m.setHardwareSpeed(h[11]))
        return false;
    m.setPerStepTime(flags & 0x01 ? 1 : 0);
    m.setAllStepsFade(flags & 0x02 ? 1 : 0);
    m.setJumpAtRangeEnd(flags & 0x08 ? 1 : 0);
    m.setRunFromStart(flags & 0x20 ? 1 : 0);
    const bool motionBlock = flags & 0x10;
    const int pageBlock = h[12] << 16 | h[13] << 8 | h[14];

    if (!fits(buf, cursor, 12 + 3 * S)) return false;
    const int p1 = Fun_Get3(cursor, buf);
    Fun_Get3(cursor, buf);  // P2: the Address Table is derived data, never read back
    Fun_Get3(cursor, buf);  // P3
    const int p4 = Fun_Get3(cursor, buf);
    const int cells = m.cellsPerStep();
    for (int s = 1; s <= S; ++s) {
        const int pos = Fun_Get3(cursor, buf);
        if (!fits(buf, pos, 3)) return false;
        m.setStepTime(s, signed16(Fun_GetAt2(pos, buf)));
        const int stepFlags = Fun_GetAt1(pos + 2, buf);
        m.setFadeToNext(s, stepFlags & 0x01 ? 1 : 0);
        m.setJumpMark(s, stepFlags & 0x02 ? 1 : 0);
        if (!(stepFlags & 0x04)) {
            if (!fits(buf, pos + 3, cells)) return false;
            const auto src = buf.view().subspan(pos + 3, cells);
            std::copy(src.begin(), src.end(), m.stepValues(s).begin());
        }
    }

    if (p1 > 0) {
        int at = p1;
        MappingRead mapping;
        if (!readMappingBlock(m, at, buf, mapping)) return false;
        applyMapping(m, 0, mapping);
    }

    // The Name Part always exists; a zero position would read the file's tag as text.
    if (p4 <= 0 || !fits(buf, p4, 1)) return false;
    cursor = p4;
    const int nameLength = Fun_GetAt1(cursor, buf);
    if (!fits(buf, cursor + 1, 2 * nameLength + 1)) return false;
    QString remark;
    Fun_GetStr(remark, kMaterialRemarkMax, cursor, buf);
    m.setRemark(remark.left(kMaterialRemarkMax));
    const int temps = Fun_Get1(cursor, buf);
    if (temps > kTempChannelEntries || !fits(buf, cursor, temps)) return false;
    for (int e = 1; e <= temps; ++e)
        m.setTempChannel(e, Fun_Get1(cursor, buf));

    if (motionBlock) {
        if (!fits(buf, cursor, 1) || !m.setMotionMode(Fun_Get1(cursor, buf))) return false;
        if (m.motionMode() != 0) {
            const int F = m.fixtureCount();
            if (!fits(buf, cursor, 2 * kMotionParameters * (1 + F))) return false;
            for (int i = 1; i <= kMotionParameters; ++i) {
                m.setMotionGlobal(i, Fun_Get2(cursor, buf));
                for (int v = 1; v <= F; ++v)
                    m.setMotionPerFixture(v, i, Fun_Get2(cursor, buf));
            }
        }
    }
    if (!buf.ok()) return false;
    out = std::move(m);
    pageBlockPosition = pageBlock;
    return true;
}

std::int64_t materialBytesBound(const Material& m, const FixtureLibrary& lib) {
    const std::int64_t S = m.stepCount();
    const int F = m.fixtureCount();
    const int C = m.channelCount();
    std::int64_t n = kMaterialHeaderSize + 12 + 3 * S + 3 * S;  // header, table, Step frames
    for (int s = 1; s <= S; ++s)
        if (!isDarkStep(m, s)) n += F * C;
    n += 2 + 2 * S;                                             // Jump List
    n += 1 + 2 * kMaterialRemarkMax + 1 + kTempChannelEntries;  // Name Part
    n += 1 + 2 * kMotionParameters * (1 + F);                   // Motion Block
    n += 4 + 3 * kPageBlockPositions + 1;                       // Page Block frame
    OutputMap map;
    for (int p = 0; p < libraryPages; ++p) {
        compileOutputMap(m, lib, p, map);
        n += C + F + static_cast<std::int64_t>(map.fixtures.size()) + 2 + F * C + map.byteTotal;
    }
    return n;
}

void writePageBlock(const Material& m, const FixtureLibrary& lib, int& cursor, RecordBuffer& buf) {
    Fun_Put4(kPageBlockTagValue, cursor, buf);
    const int tableStart = cursor;
    cursor += 3 * kPageBlockPositions;
    Fun_Put1(libraryPages, cursor, buf);
    std::array<int, kPageBlockPositions> positions{};
    OutputMap map;
    for (int p = 1; p < libraryPages; ++p) {
        compileOutputMap(m, lib, p, map);
        positions[0] = cursor;
        writeMappingBlock(m, map, cursor, buf);
        positions[1] = cursor;
        writeAddressTable(m, map, cursor, buf);
    }
    Fun_PutInt24Table(tableStart, positions, buf);
}

bool readPageBlock(Material& m, int position, RecordBuffer& buf, int& end) {
    end = position;
    if (position <= 0) return true;
    // A position outside the bytes is damage; one inside that meets another tag loads nothing.
    if (!fits(buf, position, 4)) return false;
    if (Fun_GetAt4(position, buf) != kPageBlockTagValue) return true;
    int cursor = position + 4;
    if (!fits(buf, cursor, 3 * kPageBlockPositions + 1)) return false;
    std::array<int, kPageBlockPositions> positions{};
    Fun_GetInt24Table(positions, cursor, buf);
    const int pages = Fun_Get1(cursor, buf);
    for (int p = 1; p < pages; ++p)
        if (!skipPageTables(m, cursor, buf)) return false;

    MappingRead mapping;
    const bool present = pages >= 2 && positions[0] > 0;
    if (present) {
        int at = positions[0];
        if (!readMappingBlock(m, at, buf, mapping)) return false;
    }
    if (!buf.ok()) return false;
    if (present) applyMapping(m, 1, mapping);
    end = cursor;
    return true;
}

}  // namespace kx
