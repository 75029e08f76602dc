#pragma once

#include "base/outcome.h"
#include "base/paths.h"
#include "materials/effect_image_store.h"
#include "show/show.h"

namespace kx {

// The one owner of the Effect Material Images: the working files under SC_TEMP that hold the
// Materials of every Effect but the open one, and the show's open Effect with its bank. The
// Materials section, the Effect files and every editor reach the images through it.
class EffectImages : public EffectImageStore {
  public:
    EffectImages(Show& show, AppPaths paths) : m_show(show), m_paths(std::move(paths)) {}

    QByteArray image(int effect) const override;
    qsizetype copyImage(int effect, std::span<std::uint8_t> into) const override;
    bool setImage(int effect, const QByteArray& image) override;
    void clear() override;

    // Opens Effect e's bank (0 closes the open one): the open bank is written to its image
    // first; an open bank that cannot be kept stays open, refused with "素材保存失败！！！".
    Outcome open(int effect);
    // Writes the open bank to its image; the Effect stays open.
    bool flush();

  private:
    Show& m_show;
    AppPaths m_paths;
};

}  // namespace kx
