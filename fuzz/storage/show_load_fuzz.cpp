// Loads arbitrary bytes as a Show File through every section reader of the show: a load either
// fails whole or leaves a library that still writes back within its bounds. (A full save per input
// would spend the run allocating the 4 MiB buffer.)
#include <QByteArray>

#include "fixtures/fixture_files.h"
#include "show/effect_images.h"
#include "show/show.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kx::Show live;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static const kx::AppPaths paths = kx::AppPaths::under(QStringLiteral("/nonexistent"));
    static kx::EffectImages images{live, paths};
    kx::StagedShow staged = kx::showBinding(live, images, paths).stage();
    QStringList notes;
    if (kx::parseShowFile(bytes, staged.sections, notes) == kx::ParseResult::Ok) {
        staged.commit();
        kx::RecordBuffer buf(65536);
        int cursor = 0;
        kx::writeFixtureSection(live.library, buf, cursor);
        if (!buf.ok()) __builtin_trap();
    }
    return 0;
}
