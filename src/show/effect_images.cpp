#include "show/effect_images.h"

#include "base/file_io.h"
#include "materials/material_bank_file.h"

namespace kx {

QByteArray EffectImages::image(int effect) const {
    return readWholeFile(m_paths.effectImage(effect)).value_or(QByteArray());
}

bool EffectImages::setImage(int effect, const QByteArray& image) {
    if (image.isEmpty()) {
        removeFile(m_paths.effectImage(effect));
        return true;
    }
    // A save rebuilds every image and a load stores every image the file carries: mostly the
    // bytes already there, which need no second write and sync.
    const QString path = m_paths.effectImage(effect);
    if (readWholeFile(path) == image) return true;
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
