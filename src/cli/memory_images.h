#pragma once

#include <map>

#include "materials/effect_image_store.h"

namespace kx {

// Effect Material Images held in memory: the command-line tool reads a Show File without the
// program's working files.
class MemoryImages : public EffectImageStore {
  public:
    QByteArray image(int effect) const override {
        const auto it = m_images.find(effect);
        return it == m_images.end() ? QByteArray() : it->second;
    }
    bool setImage(int effect, const QByteArray& image) override {
        if (image.isEmpty()) {
            m_images.erase(effect);
        } else {
            m_images[effect] = image;
        }
        return true;
    }
    void clear() override { m_images.clear(); }

  private:
    std::map<int, QByteArray> m_images;
};

}  // namespace kx
