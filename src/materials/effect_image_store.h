#pragma once

#include <QByteArray>

namespace kx {

// Where the Materials of the Effects that are not open live between saves: one Effect Material
// Image per Effect 1-50. The program's store is the show's working files (its one owner of the
// images); the Materials section, the Effect files and the Effect switch only go through this.
class EffectImageStore {
  public:
    virtual ~EffectImageStore() = default;
    // Effect e's image; empty when it has none.
    virtual QByteArray image(int effect) const = 0;
    // Replaces Effect e's image (an empty one removes it); false when it could not be kept, the
    // previous image then staying.
    virtual bool setImage(int effect, const QByteArray& image) = 0;
    // Every image goes.
    virtual void clear() = 0;
};

}  // namespace kx
