// One libFuzzer target per Effect reader, chosen at compile time (KX_FUZZ_READER).
#include <QByteArray>
#include <memory>

#include "effects/effect_files.h"
#include "effects/effect_record.h"
#include "storage/record_io.h"

namespace {

// What a reader accepted keeps the model's shape: nothing selected outside its parts' grids.
void checkShape(const kx::Effect& fx) {
    for (const kx::EffectPart& p : fx.parts) {
        if (p.barCount > kx::kMaxBars || p.beatsPerBar > kx::kMaxBeats) __builtin_trap();
        for (int key = 0; key < kx::kMaxBars * kx::kMaxBeats; ++key) {
            const bool inGrid =
                key / kx::kMaxBeats < p.barCount && key % kx::kMaxBeats < p.beatsPerBar;
            if (!inGrid && p.selections[static_cast<std::size_t>(key)].any()) __builtin_trap();
        }
    }
}

[[maybe_unused]] void readSection(const QByteArray& bytes) {
    auto table = std::make_unique<kx::EffectTable>();
    kx::RecordBuffer buf = kx::RecordBuffer::fromBytes(bytes);
    int cursor = 0;
    if (kx::loadEffectsSection(*table, buf, cursor)) {
        for (const kx::Effect& fx : table->effects)
            checkShape(fx);
    }
}

[[maybe_unused]] void readSingleEffect(const QByteArray& bytes) {
    auto staged = std::make_unique<kx::StagedEffect>();
    if (kx::parseSingleEffectFile(bytes, *staged) == kx::ParseResult::Ok) {
        checkShape(staged->effect);
    }
}

[[maybe_unused]] void readModule(const QByteArray& bytes) {
    auto staged = std::make_unique<kx::StagedModule>();
    kx::parseModuleFile(bytes, *staged);
}

[[maybe_unused]] void readAllEffects(const QByteArray& bytes) {
    auto staged = std::make_unique<kx::StagedAllEffects>();
    if (kx::parseAllEffectsFile(bytes, *staged) == kx::ParseResult::Ok) {
        for (const kx::Effect& fx : staged->effects.effects)
            checkShape(fx);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    KX_FUZZ_READER(bytes);
    return 0;
}
