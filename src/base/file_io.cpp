#include "base/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "base/large_buffers.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>
#include <thread>
#endif

namespace kx {

namespace {

// A replaced file is given back (its cached pages dropped, its blocks freed) when its last
// reference goes: inside the rename that replaces it, which for a Show File of megabytes takes
// milliseconds. Held open across the rename, a large one goes when it is closed, on a thread of
// its own, and the write is done sooner.
class ReplacedFile {
  public:
    explicit ReplacedFile(const QString& path);
    ~ReplacedFile();
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

  private:
    int m_fd = -1;
};

#ifdef Q_OS_UNIX
constexpr off_t kReleasedAsideFrom = 1024 * 1024;

ReplacedFile::ReplacedFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= kReleasedAsideFrom) {
        m_fd = fd;
        return;
    }
    ::close(fd);
}

ReplacedFile::~ReplacedFile() {
    if (m_fd < 0) return;
    try {
        std::thread([fd = m_fd] { ::close(fd); }).detach();
    } catch (const std::system_error&) {
        ::close(m_fd);
    }
}
#else
ReplacedFile::ReplacedFile(const QString&) {}
ReplacedFile::~ReplacedFile() = default;
#endif

// Up to count bytes of an open file into `into`: fewer when it has become shorter since its size
// was taken; -1 when a read fails.
qint64 readUpTo(QFile& file, char* into, qint64 count) {
    qint64 got = 0;
    while (got < count) {
        const qint64 n = file.read(into + got, count - got);
        if (n < 0) return -1;
        if (n == 0) break;
        got += n;
    }
    return got;
}

}  // namespace

bool writeWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return false;
    const ReplacedFile replaced(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QByteArray> readWholeFile(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return std::nullopt;
    if (file.isSequential() || file.size() == 0) {
        // No size to go by (a pipe, a device): read until it ends.
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) return std::nullopt;
        return bytes;
    }
    // Read straight into a buffer of the file's size: no copy, no growing.
    QByteArray bytes = uninitializedBytes(file.size());
    const qint64 got = readUpTo(file, bytes.data(), bytes.size());
    if (got < 0) return std::nullopt;
    bytes.truncate(got);
    return bytes;
}

std::optional<qint64> readFileInto(const QString& path, std::span<std::uint8_t> into) {
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return std::nullopt;
    const qint64 size = file.size();
    if (size > static_cast<qint64>(into.size())) return size;
    const qint64 got = readUpTo(file, reinterpret_cast<char*>(into.data()), size);
    if (got < 0) return std::nullopt;
    return got;
}

bool fileExists(const QString& path) {
    if (path.isEmpty()) return false;
    QFileInfo info(path);
    return info.exists() && info.isFile();
}

void removeFile(const QString& path) {
    if (!path.isEmpty()) QFile::remove(path);
}

}  // namespace kx
