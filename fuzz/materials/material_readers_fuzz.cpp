// One libFuzzer target per Material reader, chosen at compile time (KX_FUZZ_READER).
#include <QByteArray>

#include "materials/material_bank_file.h"
#include "materials/material_exchange.h"
#include "materials/materials_section.h"
#include "materials/step_operations.h"

namespace {

using namespace kx;

// What a reader accepted must write back within bounds and read back the same.
[[maybe_unused]] void readMaterialFile(const QByteArray& bytes) {
    Material m;
    if (parseSingleMaterialFile(bytes, m) != ParseResult::Ok) return;
    static const FixtureLibrary lib;
    const auto again = buildSingleMaterialFile(m, lib);
    if (!again) __builtin_trap();
    Material back;
    if (parseSingleMaterialFile(*again, back) != ParseResult::Ok) __builtin_trap();
}

[[maybe_unused]] void readEffectImage(const QByteArray& bytes) {
    static MaterialBank bank;
    if (parseEffectImage(bytes, bank) != ParseResult::Ok) return;
    static const FixtureLibrary lib;
    const auto again = buildEffectImage(bank, lib);
    if (!again) __builtin_trap();
    if (!again->isEmpty() && parseEffectImage(*again, bank) != ParseResult::Ok) __builtin_trap();
}

[[maybe_unused]] void readMaterialsSection(const QByteArray& bytes) {
    RecordBuffer buf = RecordBuffer::fromBytes(bytes);
    StagedEffectImages staged;
    loadMaterialsSection(buf, staged);
}

// Byte 5 and 6 give the pasted-into Material its counts, byte 8 the Step pasted at.
[[maybe_unused]] void readStepClipboard(const QByteArray& bytes) {
    if (bytes.size() < 9) return;
    Material m;
    m.setFixtureCount(static_cast<std::uint8_t>(bytes[5]) % (kMaxVirtualFixtures + 1));
    m.setChannelCount(static_cast<std::uint8_t>(bytes[6]) % (kMaxMaterialChannels + 1));
    m.setStepCount(static_cast<std::uint8_t>(bytes[8]));
    if (stepClipboardRefusal(bytes, m).isEmpty())
        pasteStepClipboard(m, static_cast<std::uint8_t>(bytes[8]) * 3, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    KX_FUZZ_READER(bytes);
    return 0;
}
