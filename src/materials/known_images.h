#pragma once

#include <QByteArray>
#include <mutex>
#include <set>

#include "fixtures/fixture_library.h"

namespace kx {

// Effect Material Images this run of the program has already built or checked, by digest, so a
// save need not parse and rebuild an image that is already what the library makes of it, and a
// load need not check an image it wrote itself. Saves, loads and the recovery checks share it
// from their threads.
class KnownImages {
  public:
    // The one the program's sections use.
    static KnownImages& shared();

    // True when image is what buildEffectImage made against lib (rebuilding it gives the same).
    bool built(QByteArrayView image, const FixtureLibrary& lib);
    // True when image was built or parsed without damage.
    bool sound(QByteArrayView image);
    void addBuilt(QByteArrayView image, const FixtureLibrary& lib);
    void addSound(QByteArrayView image);

  private:
    using Digest = QByteArray;
    static Digest digestOf(QByteArrayView image);

    std::mutex m_mutex;
    FixtureLibrary m_lib;  // what the built images were built against
    std::set<Digest> m_built;
    std::set<Digest> m_sound;
};

}  // namespace kx
