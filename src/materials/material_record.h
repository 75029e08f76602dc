#pragma once

#include <QString>

#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "storage/record_buffer.h"

namespace kx {

// The Material Record: a 20-byte header, the body (position table, Step Records, the Mapping Block
// and Address Table of Library Page 0, the Jump List, the Name Part) and, when motionMode is set,
// the Motion Block. The Page Block carries the Mapping Blocks and Address Tables of the other
// pages in use. Positions are 3-byte offsets from the first byte of the enclosing file or image.

inline constexpr int kMaterialHeaderSize = 20;
inline constexpr int kHeaderPageBlockPosition = 12;  // header bytes 12-14
inline const QString kPageBlockTag = QStringLiteral("F1050101");
inline constexpr int kPageBlockTagValue = static_cast<int>(0xF1050101u);
inline constexpr int kPageBlockPositions = 20;

// Writes the record at the cursor (header bytes 12-14 left 0) and leaves the cursor after it.
void writeMaterialRecord(const Material& m, const FixtureLibrary& lib, int& cursor,
                         RecordBuffer& buf);
// Reads a record at the cursor into out (replaced only on success) and leaves the cursor after it;
// pageBlockPosition receives header bytes 12-14. False, with out unchanged, when a count, range
// or position in the record is damaged.
bool readMaterialRecord(Material& out, int& cursor, RecordBuffer& buf, int& pageBlockPosition);

// At least the bytes writeMaterialRecord and writePageBlock write for m, so working buffers can be
// sized by the data.
std::int64_t materialBytesBound(const Material& m, const FixtureLibrary& lib);

void writePageBlock(const Material& m, const FixtureLibrary& lib, int& cursor, RecordBuffer& buf);
// Reads the Page Block at position into m's Fixture Map of page 1. Position 0, or one that leads
// to another tag than "F1050101", loads nothing and is no damage; a position outside the bytes or
// damage inside the block is false, m unchanged. end receives the position after the block
// (position itself when nothing was read).
bool readPageBlock(Material& m, int position, RecordBuffer& buf, int& end);

}  // namespace kx
