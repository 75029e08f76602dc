#include "materials/known_images.h"

#include <QHashFunctions>
#include <array>

namespace kx {

namespace {

// Far more than the 50 Effects of a show: a long session never grows the sets beyond this.
constexpr std::size_t kMaxDigests = 400;
constexpr std::array<std::size_t, 2> kSeeds{0x46313034, 0x3136A100};

void insertBounded(std::set<QByteArray>& digests, const QByteArray& digest) {
    if (digests.size() >= kMaxDigests) digests.clear();
    digests.insert(digest);
}

}  // namespace

KnownImages& KnownImages::shared() {
    static KnownImages known;
    return known;
}

KnownImages::Digest KnownImages::digestOf(const QByteArray& image) {
    // 128 bits of the fastest hash the machine has: the images are megabytes.
    const std::array<std::size_t, 2> h{qHash(QByteArrayView(image), kSeeds[0]),
                                       qHash(QByteArrayView(image), kSeeds[1])};
    return QByteArray(reinterpret_cast<const char*>(h.data()), sizeof h);
}

bool KnownImages::built(const QByteArray& image, const FixtureLibrary& lib) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    return m_built.contains(d) && m_lib == lib;
}

bool KnownImages::sound(const QByteArray& image) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    return m_sound.contains(d);
}

void KnownImages::addBuilt(const QByteArray& image, const FixtureLibrary& lib) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    if (!(m_lib == lib)) {
        m_lib = lib;
        m_built.clear();
    }
    insertBounded(m_built, d);
    insertBounded(m_sound, d);
}

void KnownImages::addSound(const QByteArray& image) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    insertBounded(m_sound, d);
}

}  // namespace kx
