#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstring>
#include <span>

namespace kx {

// Where the Materials of the Effects that are not open live between saves: one Effect Material
// Image per Effect 1-50. The program's store is the show's working files (its one owner of the
// images); the Materials section, the Effect files and the Effect switch only go through this.
class EffectImageStore {
  public:
    virtual ~EffectImageStore() = default;
    // Effect e's image; empty when it has none.
    virtual QByteArray image(int effect) const = 0;
    // Effect e's image copied to the front of into when it fits there; its size either way (0:
    // none). A save puts the images into the file it builds this way: a store that reads them
    // from files reads them straight into the file's buffer.
    virtual qsizetype copyImage(int effect, std::span<std::uint8_t> into) const {
        const QByteArray bytes = image(effect);
        if (bytes.size() <= static_cast<qsizetype>(into.size()))
            std::memcpy(into.data(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return bytes.size();
    }
    // Replaces Effect e's image (an empty one removes it); false when it could not be kept, the
    // previous image then staying.
    virtual bool setImage(int effect, const QByteArray& image) = 0;
    // Every image goes.
    virtual void clear() = 0;
};

}  // namespace kx
