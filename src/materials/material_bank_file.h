#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "base/outcome.h"
#include "fixtures/fixture_library.h"
#include "materials/effect_image_store.h"
#include "materials/material.h"
#include "storage/record_buffer.h"

namespace kx {

inline constexpr int kEffectCount = 50;
inline const QString kEffectImageTag = QStringLiteral("F10416A1");
// A working buffer for one bank: an image has to fit the Show File's buffer anyway.
inline constexpr int kMaterialBufferCapacity = 4'194'305;

// The Material Bank record: the count M of existing Materials, a directory of M (Material Number,
// 3-byte record position) entries, the M Material Records in Material Number order, then their M
// Page Blocks. Writes nothing and gives false for a bank without Materials.
bool writeMaterialBank(const MaterialBank& bank, const FixtureLibrary& lib, int& cursor,
                       RecordBuffer& buf);
// Reads a bank record into out (replaced only on success; the cursor then ends after the last
// byte read). False, with out unchanged, for damaged input.
bool readMaterialBank(MaterialBank& out, int& cursor, RecordBuffer& buf);

// An Effect Material Image: the tag "F10416A1" and the bank record, positions counted from the
// tag. Empty bytes for a bank without Materials; nothing when the bank does not fit.
std::optional<QByteArray> buildEffectImage(const MaterialBank& bank, const FixtureLibrary& lib);
// Ok: out holds the image's bank. Otherwise out is unchanged.
ParseResult parseEffectImage(const QByteArray& bytes, MaterialBank& out);

// Stores image e built from the bank, or removes it when the bank has no Materials. False when the
// bank does not fit or the image could not be kept (the previous one then stays).
bool saveEffectImage(EffectImageStore& images, int effect, const MaterialBank& bank,
                     const FixtureLibrary& lib);
// Clears the bank and loads image e into it when there is one carrying the tag. False when the
// image is damaged (the bank is left empty).
bool loadEffectImage(const EffectImageStore& images, int effect, MaterialBank& bank);

inline const QString kMsgMaterialSaveFailed = QStringLiteral("素材保存失败！！！");

// Opens Effect e's bank (1-50; 0 closes the open one): when it differs from the current one, writes
// the open bank to its image (when an Effect is open), then clears the bank and loads e's image. An
// open bank whose image cannot be written is kept open: refused with "素材保存失败！！！".
Outcome switchEffect(int effect, int& currentEffect, MaterialBank& bank, const FixtureLibrary& lib,
                     EffectImageStore& images);

}  // namespace kx
