#pragma once

#include <map>

#include "materials/effect_image_store.h"

namespace kx::test {

// Effect Material Images kept in memory, as the program's store keeps them in its files.
class MemoryImages : public EffectImageStore {
  public:
    QByteArray image(int effect) const override {
        const auto it = images.find(effect);
        return it == images.end() ? QByteArray() : it->second;
    }
    bool setImage(int effect, const QByteArray& image) override {
        if (failWrites) return false;
        if (image.isEmpty()) {
            images.erase(effect);
        } else {
            images[effect] = image;
        }
        return true;
    }
    void clear() override { images.clear(); }
    bool has(int effect) const { return images.contains(effect); }

    std::map<int, QByteArray> images;
    bool failWrites = false;  // a full disk: nothing is kept
};

}  // namespace kx::test
