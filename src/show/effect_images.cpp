#include "show/effect_images.h"

#include <QFile>
#include <cstring>

#include "base/file_io.h"
#include "materials/material_bank_file.h"

namespace kx {

namespace {

// True when the file at path holds exactly bytes: compared where the file lies in the page
// cache, so an image of megabytes costs no copy of itself. The store's files are only ever
// replaced whole, never shortened in place, so the mapping cannot lose its pages meanwhile.
bool holds(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.size() != bytes.size())
        return false;
    if (bytes.isEmpty()) return true;
    uchar* mapped = file.map(0, bytes.size());
    if (mapped == nullptr) return false;
    const bool same = std::memcmp(mapped, bytes.constData(), bytes.size()) == 0;
    file.unmap(mapped);
    return same;
}

}  // namespace

QByteArray EffectImages::image(int effect) const {
    return readWholeFile(m_paths.effectImage(effect)).value_or(QByteArray());
}

qsizetype EffectImages::copyImage(int effect, std::span<std::uint8_t> into) const {
    // As image(): a file that cannot be read holds no image.
    return readFileInto(m_paths.effectImage(effect), into).value_or(0);
}

bool EffectImages::setImage(int effect, const QByteArray& image) {
    if (image.isEmpty()) {
        removeFile(m_paths.effectImage(effect));
        return true;
    }
    // A save rebuilds every image and a load stores every image the file carries: mostly the
    // bytes already there, which need no second write and sync.
    const QString path = m_paths.effectImage(effect);
    if (holds(path, image)) return true;
    return writeWholeFile(path, image);
}

void EffectImages::clear() {
    for (int e = 1; e <= kEffectCount; ++e)
        removeFile(m_paths.effectImage(e));
}

Outcome EffectImages::open(int effect) {
    return switchEffect(effect, m_show.currentEffect, m_show.materials, m_show.library, *this);
}

bool EffectImages::flush() {
    if (m_show.currentEffect == 0) return true;
    return saveEffectImage(*this, m_show.currentEffect, m_show.materials, m_show.library);
}

}  // namespace kx
