#include "cli/show_export.h"

#include "effects/effect_files.h"
#include "fixtures/fixture_files.h"
#include "materials/material_bank_file.h"
#include "materials/material_exchange.h"

namespace kx {

namespace {

struct KindShape {
    const char* kind;
    int numbers;
};
constexpr KindShape kKinds[] = {{"K_1DK", 2}, {"K_ADK", 0}, {"K_1SC", 3},
                                {"K_1XG", 1}, {"K_AXG", 0}, {"K_1MK", 2}};

bool inRange(int v, int low, int high) {
    return v >= low && v <= high;
}

// Opens Effect e's bank as the Effect editor does before exporting.
QString openEffect(LoadedShow& l, int e) {
    const Outcome o =
        switchEffect(e, l.show.currentEffect, l.show.materials, l.show.library, l.images);
    if (!o.done && l.show.currentEffect != e) {
        return QStringLiteral("the Material image of Effect %1 cannot be read").arg(e);
    }
    return {};
}

}  // namespace

int exportNumberCount(const QString& kind) {
    for (const KindShape& k : kKinds) {
        if (kind.compare(QLatin1String(k.kind), Qt::CaseInsensitive) == 0) return k.numbers;
    }
    return -1;
}

ExportParse parseExportRequest(const QString& kind, const QString& numbers) {
    const int count = exportNumberCount(kind);
    if (count < 0) return {{}, QStringLiteral("unknown kind %1").arg(kind)};
    ExportRequest r{kind.toUpper(), {}};
    const QStringList parts = numbers.split('/', Qt::SkipEmptyParts);
    if (parts.size() != count)
        return {{}, QStringLiteral("%1 takes %2 numbers").arg(r.kind).arg(count)};
    for (const QString& p : parts) {
        bool ok = false;
        r.numbers.push_back(p.toInt(&ok));
        if (!ok) return {{}, QStringLiteral("\"%1\" is not a number").arg(p)};
    }
    const auto& n = r.numbers;
    bool valid = true;
    if (r.kind == "K_1DK") valid = isFixtureSlot(n[0], n[1]);
    if (r.kind == "K_1SC")
        valid =
            isEffectNumber(n[0]) && inRange(n[1], 1, kModules) && inRange(n[2], 1, kSlotsPerModule);
    if (r.kind == "K_1XG") valid = isEffectNumber(n[0]);
    if (r.kind == "K_1MK") valid = isEffectNumber(n[0]) && inRange(n[1], 1, kModules);
    if (!valid) return {{}, QStringLiteral("%1 %2 is outside the show").arg(r.kind, numbers)};
    return {r, {}};
}

ExportResult exportFromShow(LoadedShow& l, const ExportRequest& r) {
    const auto& n = r.numbers;
    Show& s = l.show;
    if (r.kind == "K_1DK") return {singleFixtureBytes(s.library, n[0], n[1]), {}};
    if (r.kind == "K_ADK") return {allFixturesBytes(s.library), {}};
    if (r.kind == "K_AXG") {
        auto bytes =
            buildAllEffectsFile(s.effects, s.materials, s.currentEffect, s.library, l.images);
        if (!bytes) return {{}, QStringLiteral("the Effects do not fit the file")};
        return {bytes, {}};
    }
    if (const QString error = openEffect(l, n[0]); !error.isEmpty()) return {{}, error};
    std::optional<QByteArray> bytes;
    if (r.kind == "K_1SC") {
        // The window exports a Material from its editor, which gives blank times their default
        // on opening it.
        Material m = s.materials.at(n[1], n[2]);
        applyDefaultTimes(m);
        bytes = buildSingleMaterialFile(m, s.library);
    } else if (r.kind == "K_1XG") {
        bytes = buildSingleEffectFile(s.effects.at(n[0]), s.materials, s.library);
    } else {
        bytes = buildModuleFile(s.effects.at(n[0]), s.materials, n[1], s.library);
    }
    if (!bytes) return {{}, QStringLiteral("%1 does not fit the file").arg(r.kind)};
    return {bytes, {}};
}

}  // namespace kx
