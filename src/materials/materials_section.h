#pragma once

#include <QByteArray>
#include <QString>
#include <array>

#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/material_bank_file.h"
#include "storage/record_buffer.h"
#include "storage/show_file.h"

namespace kx {

// Show File section 11: a table of 50 3-byte positions (Effect e's block, 0 when it has no
// Materials), for each Effect with an image its length L (3 bytes) and the L bytes verbatim, then
// a fixed 50-byte trailer that the Controller receives and this tool never reads.
inline const QString kMaterialsSectionTag = QStringLiteral("F10417A1");
inline constexpr int kMaterialsTrailerSize = 50;
inline constexpr std::array<std::uint8_t, kMaterialsTrailerSize> kMaterialsTrailer{};

// Writes the section at the cursor. Every image is rebuilt against the current Fixture Library
// (and deleted when its bank is empty), the open Effect's from the bank in memory, which then
// holds exactly what its image holds. A bank that does not fit fails the buffer and leaves the
// cursor beyond it.
void saveMaterialsSection(RecordBuffer& buf, int& cursor, MaterialBank& bank, int currentEffect,
                          const FixtureLibrary& lib, EffectImageStore& images,
                          int section = kSectionMaterials);

// The images a loaded section carries, index 1-50 (empty: the Effect has no Materials).
struct StagedEffectImages {
    std::array<QByteArray, kEffectCount + 1> images;
};

// Reads the section into out (replaced only on success). A missing section is no damage and
// stages no images; a table entry, length or image that is damaged gives false.
bool loadMaterialsSection(RecordBuffer& buf, StagedEffectImages& out,
                          int section = kSectionMaterials);

// After a load succeeded: every stored image is replaced by the staged ones, no Effect is open and
// the bank is empty. False when an image could not be kept.
bool commitMaterialsSection(const StagedEffectImages& staged, EffectImageStore& images,
                            MaterialBank& bank, int& currentEffect);

// The section routine of the Show File: the writer works on the live bank, the reader fills
// staged, which the show's commit hands to commitMaterialsSection.
SectionRoutine materialsSectionRoutine(MaterialBank& bank, int& currentEffect,
                                       const FixtureLibrary& lib, EffectImageStore& images,
                                       StagedEffectImages& staged);

}  // namespace kx
