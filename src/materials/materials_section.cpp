#include "materials/materials_section.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "materials/known_images.h"
#include "storage/record_io.h"

namespace kx {

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()),
            static_cast<std::size_t>(a.size())};
}

// The open bank's image as last built, beside the bank that image reads back as and the library it
// was built against: a save of an open bank unchanged since builds and parses nothing. Saves and
// the recovery checks write from their own threads.
class OpenBankImage {
  public:
    static OpenBankImage& shared() {
        static OpenBankImage last;
        return last;
    }

    std::optional<QByteArray> find(const MaterialBank& bank, const FixtureLibrary& lib) {
        const std::lock_guard lock(m_mutex);
        if (!m_bank || !(*m_bank == bank) || !(m_lib == lib)) return std::nullopt;
        return m_image;
    }

    void keep(const QByteArray& image, const MaterialBank& readBack, const FixtureLibrary& lib) {
        const std::lock_guard lock(m_mutex);
        if (m_bank) {
            *m_bank = readBack;
        } else {
            m_bank = std::make_unique<MaterialBank>(readBack);
        }
        m_lib = lib;
        m_image = image;
    }

  private:
    std::mutex m_mutex;
    std::unique_ptr<MaterialBank> m_bank;  // none before the first build
    FixtureLibrary m_lib;
    QByteArray m_image;
};

struct Rebuilt {
    std::optional<QByteArray> image;
    bool stored = false;  // the store already holds exactly these bytes
};

// Image e rebuilt against the library: from the bank in memory for the open Effect, from the
// store otherwise (an image that does not parse holds no Materials, as loading it would show).
// An image built against a library rebuilds to itself: one known as built against this one is
// taken as it stands.
Rebuilt rebuiltImage(int e, const MaterialBank& bank, int currentEffect, const FixtureLibrary& lib,
                     const EffectImageStore& images) {
    KnownImages& known = KnownImages::shared();
    std::optional<QByteArray> built;
    if (e == currentEffect) {
        built = buildEffectImage(bank, lib);
    } else {
        QByteArray bytes = images.image(e);
        if (bytes.isEmpty() || known.built(bytes, lib)) return {std::move(bytes), true};
        auto other = std::make_unique<MaterialBank>();
        if (parseEffectImage(bytes, *other) != ParseResult::Ok) return {QByteArray()};
        built = buildEffectImage(*other, lib);
    }
    if (built && !built->isEmpty()) known.addBuilt(*built, lib);
    return {built};
}

// Effect e's stored image put into the section at the cursor as it stands, read straight into
// the buffer behind its length, with entry set to where it went: true when the store holds none
// or one known as built against lib that fits; otherwise nothing is put.
bool putStoredImage(int e, const FixtureLibrary& lib, const EffectImageStore& images,
                    RecordBuffer& buf, int& cursor, int& entry) {
    const int room = buf.capacity() - cursor - 3;
    if (room < 0) return false;
    const auto into = buf.data().subspan(static_cast<std::size_t>(cursor) + 3);
    const qsizetype length = images.copyImage(e, into);
    if (length == 0) return true;
    // One that does not fit was not read.
    if (length > room) return false;
    const QByteArrayView image(into.data(), length);
    if (KnownImages::shared().built(image, lib)) {
        entry = cursor;
        Fun_Put3(static_cast<int>(length), cursor, buf);
        cursor += static_cast<int>(length);
        return true;
    }
    // The writers after this one count on zeros where nothing was put: what was read goes.
    std::fill_n(into.data(), length, std::uint8_t{0});
    return false;
}

}  // namespace

void saveMaterialsSection(RecordBuffer& buf, int& cursor, MaterialBank& bank, int currentEffect,
                          const FixtureLibrary& lib, EffectImageStore& images, int section) {
    Fun_BeginSection(section, kMaterialsSectionTag, cursor, buf);
    const int table = cursor;
    cursor += 3 * kEffectCount;
    std::array<int, kEffectCount> entries{};
    std::optional<QByteArray> openImage;  // only once the open bank's image was built
    OpenBankImage& lastOpen = OpenBankImage::shared();
    // An unchanged open bank already holds what its image reads back as.
    const std::optional<QByteArray> unchangedOpen =
        currentEffect != 0 ? lastOpen.find(bank, lib) : std::nullopt;
    for (int e = 1; e <= kEffectCount; ++e) {
        if (e != currentEffect && putStoredImage(e, lib, images, buf, cursor, entries[e - 1]))
            continue;
        const auto [image, stored] = e == currentEffect && unchangedOpen
                                         ? Rebuilt{unchangedOpen, false}
                                         : rebuiltImage(e, bank, currentEffect, lib, images);
        if (!image) {
            // A bank beyond a working buffer cannot fit the Show File either: say so by size.
            buf.fail();
            cursor += kMaterialBufferCapacity;
            continue;
        }
        if (e == currentEffect) openImage = *image;
        // The section carries the image even when the stored one cannot be replaced.
        if (!stored) images.setImage(e, *image);
        if (image->isEmpty()) continue;
        entries[e - 1] = cursor;
        Fun_Put3(static_cast<int>(image->size()), cursor, buf);
        Fun_PutBytes(static_cast<int>(image->size()), bytesOf(*image), cursor, buf);
    }
    if (openImage && !unchangedOpen) {
        if (openImage->isEmpty()) {
            clearBank(bank);
        } else if (parseEffectImage(*openImage, bank) == ParseResult::Ok) {
            lastOpen.keep(*openImage, bank, lib);
        }
    }
    Fun_PutInt24Table(table, entries, buf);
    for (const std::uint8_t b : kMaterialsTrailer)
        Fun_Put1(b, cursor, buf);
}

bool loadMaterialsSection(RecordBuffer& buf, StagedEffectImages& out, int section) {
    StagedEffectImages staged;
    int cursor = 0;
    if (!Fun_FindSection(section, kMaterialsSectionTag, cursor, buf)) {
        out = staged;
        return true;
    }
    if (cursor + 3 * kEffectCount > buf.capacity()) return false;
    std::array<int, kEffectCount> entries{};
    Fun_GetInt24Table(entries, cursor, buf);
    std::unique_ptr<MaterialBank> check;  // made for the first image not known to be sound
    KnownImages& known = KnownImages::shared();
    for (int e = 1; e <= kEffectCount; ++e) {
        const int at = entries[e - 1];
        if (at < 1) continue;
        if (at + 3 > buf.capacity()) return false;
        const int length = Fun_GetAt3(at, buf);
        if (length > buf.capacity() - at - 3) return false;
        QByteArray image = buf.part(at + 3, length);
        if (!known.sound(image)) {
            if (!check) check = std::make_unique<MaterialBank>();
            if (parseEffectImage(image, *check) != ParseResult::Ok) return false;
            known.addSound(image);
        }
        staged.images[e] = std::move(image);
    }
    out = std::move(staged);
    return true;
}

bool commitMaterialsSection(const StagedEffectImages& staged, EffectImageStore& images,
                            MaterialBank& bank, int& currentEffect) {
    // Each image is replaced on its own, so a store may keep the ones whose bytes stay; one that
    // cannot be written goes rather than leaving the previous show's Materials behind.
    bool ok = true;
    for (int e = 1; e <= kEffectCount; ++e) {
        if (images.setImage(e, staged.images[e])) continue;
        images.setImage(e, {});
        ok = false;
    }
    currentEffect = 0;
    clearBank(bank);
    return ok;
}

SectionRoutine materialsSectionRoutine(MaterialBank& bank, int& currentEffect,
                                       const FixtureLibrary& lib, EffectImageStore& images,
                                       StagedEffectImages& staged) {
    SectionRoutine r;
    r.number = kSectionMaterials;
    r.tag = kMaterialsSectionTag;
    r.write = [&bank, &currentEffect, &lib, &images](RecordBuffer& buf, int& cursor,
                                                     SectionScratch) {
        saveMaterialsSection(buf, cursor, bank, currentEffect, lib, images);
    };
    r.read = [&staged](RecordBuffer& buf, int&, SectionScratch, QStringList&) {
        return loadMaterialsSection(buf, staged);
    };
    return r;
}

}  // namespace kx
