// libFuzzer target of the scene section reader (Show File section 2).
#include <QByteArray>

#include "scenes/scene_table.h"
#include "storage/record_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kx::RecordBuffer buf = kx::RecordBuffer::fromBytes(bytes);
    kx::SceneTable t;
    int cursor = 0;
    if (kx::loadScenesSection(t, buf, cursor)) {
        // Whatever loaded names no Effect the show lacks and keeps the special names.
        for (int n = 1; n <= kx::kSceneCount; ++n) {
            if (t.at(n).effectNumber > 50) __builtin_trap();
        }
        if (t.at(31).name != kx::specialSceneNames()[0]) __builtin_trap();
    }
    return 0;
}
