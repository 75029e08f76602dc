#pragma once

#include <QString>

#include "effects/effect_model.h"
#include "storage/record_buffer.h"
#include "storage/show_file.h"

namespace kx {

// The stored Effect: the Effect record (a body only for Effects with content, then the Effect's
// remark and its 20 module remarks), the effects section body (a 50-entry table of body positions
// and the 50 records) and Show File section 12. Positions are absolute in the buffer, except the
// beat-list tables of the selection blocks, which count from their own start.

inline const QString kEffectsTag = QStringLiteral("F1040301");
inline constexpr int kEffectBodyBlocks = 10;
inline constexpr int kEffectSettingsSize = 10;
inline constexpr int kEffectsHeaderSize = 20;
inline constexpr int kEffectsTableSize = 3 * kEffectCount;
inline constexpr int kEffectsTrailerSize = 20;
inline constexpr int kBarRecordSize = 3;
inline constexpr int kModuleRecordSize = 2;

// Settings block flag bits.
inline constexpr int kFlagIndependentBass = 0x01;
inline constexpr int kFlagBeatCorrespondence = 0x02;
inline constexpr int kFlagCorrespondenceInvalid = 0x04;
inline constexpr int kFlagBassDisabled = 0x08;
inline constexpr int kFlagVjDmx = 0x10;
inline constexpr int kFlagBassSwitchJumpsBar = 0x20;

// Writes the record at the cursor; bodyPosition receives where the body starts, 0 when the Effect
// has no content. The correspondence flag is written as the Effect's current shape gives it. A
// beat list beyond the reach of its 16-bit table entry fails the buffer.
void writeEffectRecord(const Effect& fx, int& cursor, RecordBuffer& buf, int& bodyPosition);
// Reads a body at bodyPosition (none when 0), then the 21 text fields at the cursor, into out,
// which is replaced only on success. False when a position, count or length is damaged: a part
// with more than 48 Bars or 8 Beats, a block or list outside the buffer.
bool readEffectRecord(Effect& out, int bodyPosition, int& cursor, RecordBuffer& buf);

// The effects section body (20 zero bytes, the 50 body positions, the 50 records).
void writeEffectsBody(const EffectTable& t, int& cursor, RecordBuffer& buf);
// Into a fresh table that replaces t only on success.
bool readEffectsBody(EffectTable& t, int& cursor, RecordBuffer& buf);

// Section 12: the frame, the body and the fixed 20-byte block.
void saveEffectsSection(const EffectTable& t, RecordBuffer& buf, int& cursor);
// Clears every Effect, then reads the body when the section is there. False only when the section
// is damaged (t is then left cleared).
bool loadEffectsSection(EffectTable& t, RecordBuffer& buf, int& cursor);
SectionRoutine effectsSectionRoutine(EffectTable& t);

}  // namespace kx
