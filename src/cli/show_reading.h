#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "cli/memory_images.h"
#include "show/show.h"

namespace kx {

// A Show File read by the window's own section readers into a show of its own, with the Effect
// Material Images it carries.
struct LoadedShow {
    ParseResult parse = ParseResult::WrongTag;
    Show show;
    MemoryImages images;
    // What the readers noted ("版本不对"): the window shows these after loading.
    QStringList notes;
    // Damaged: the section whose reader stopped (0 when it was not one of them).
    int damagedSection = 0;
};

// Never null; parse says whether the show could be loaded.
std::unique_ptr<LoadedShow> readShowBytes(const QByteArray& bytes);

// The section numbers with their tags, in file order, the stamp last.
struct SectionTag {
    int number = 0;
    QString tag;
};
std::vector<SectionTag> showSectionTags();
// "Room Control", "Scenes", "Fixture Library", "Materials", "Effects", "Action Thresholds",
// "Save stamp"; "section n" for any other.
QString sectionTerm(int section);

// The save stamp's text; empty when the file has none.
QString readSaveStamp(const QByteArray& bytes);

// Effect e's Material Bank from its image; Ok with an empty bank when the Effect has none.
ParseResult readEffectBank(const LoadedShow& loaded, int effect, MaterialBank& out);

}  // namespace kx
