#include "materials/known_images.h"

#include <QHashFunctions>
#include <array>

namespace kx {

namespace {

// Far more than the 50 Effects of a show: a long session never grows the sets beyond this.
constexpr std::size_t kMaxDigests = 400;

void insertBounded(std::set<QByteArray>& digests, const QByteArray& digest) {
    if (digests.size() >= kMaxDigests) digests.clear();
    digests.insert(digest);
}

}  // namespace

KnownImages& KnownImages::shared() {
    static KnownImages known;
    return known;
}

KnownImages::Digest KnownImages::digestOf(QByteArrayView image) {
    // One pass of the fastest hash the machine has (the images are megabytes), beside the size.
    // The digests live only as long as this run, so the seed is the run's own: bytes made to
    // match a known image's digest cannot be made without it.
    const std::array<std::size_t, 2> h{qHash(image, QHashSeed::globalSeed()),
                                       static_cast<std::size_t>(image.size())};
    return QByteArray(reinterpret_cast<const char*>(h.data()), sizeof h);
}

bool KnownImages::built(QByteArrayView image, const FixtureLibrary& lib) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    return m_built.contains(d) && m_lib == lib;
}

bool KnownImages::sound(QByteArrayView image) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    return m_sound.contains(d);
}

void KnownImages::addBuilt(QByteArrayView image, const FixtureLibrary& lib) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    if (!(m_lib == lib)) {
        m_lib = lib;
        m_built.clear();
    }
    insertBounded(m_built, d);
    insertBounded(m_sound, d);
}

void KnownImages::addSound(QByteArrayView image) {
    const Digest d = digestOf(image);
    const std::lock_guard lock(m_mutex);
    insertBounded(m_sound, d);
}

}  // namespace kx
