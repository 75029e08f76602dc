#include "effects/effect_undo.h"

namespace kx {

namespace {

std::size_t textBytes(const QString& s) {
    return static_cast<std::size_t>(s.capacity()) * sizeof(QChar);
}

}  // namespace

std::size_t snapshotBytes(const Effect& fx) {
    std::size_t n = sizeof(Effect) + fx.parts.size() * BeatGrid::kBytes + textBytes(fx.remark);
    for (const ModuleSettings& m : fx.modules)
        n += textBytes(m.remark);
    return n;
}

std::size_t snapshotBytes(const EffectWithBank& s) {
    return snapshotBytes(s.effect) + snapshotBytes(s.bank);
}

std::size_t snapshotBytes(const AllEffectsState& s) {
    std::size_t n = sizeof(AllEffectsState) + snapshotBytes(s.bank);
    for (const Effect& fx : s.effects.effects)
        n += snapshotBytes(fx) - sizeof(Effect);
    for (const QByteArray& image : s.images)
        n += static_cast<std::size_t>(image.size());
    return n;
}

AllEffectsState takeAllEffects(const EffectFilesContext& ctx) {
    AllEffectsState s;
    s.effects = ctx.effects;
    s.bank = ctx.bank;
    s.currentEffect = ctx.currentEffect;
    for (int e = 1; e <= kEffectCount; ++e)
        s.images[e - 1] = ctx.images.image(e);
    return s;
}

Outcome restoreAllEffects(const AllEffectsState& state, EffectFilesContext& ctx) {
    std::array<QByteArray, kEffectCount> was;
    for (int e = 1; e <= kEffectCount; ++e)
        was[e - 1] = ctx.images.image(e);
    for (int e = 1; e <= kEffectCount; ++e) {
        if (was[e - 1] == state.images[e - 1]) continue;
        if (!ctx.images.setImage(e, state.images[e - 1])) {
            for (int back = 1; back < e; ++back)
                ctx.images.setImage(back, was[back - 1]);
            return Outcome::refused(kMsgMaterialSaveFailed);
        }
    }
    ctx.effects = state.effects;
    ctx.bank = state.bank;
    ctx.currentEffect = state.currentEffect;
    return Outcome::success();
}

Outcome importAllEffects(EffectFilesContext& ctx, const FileDialogs& dialogs, EditHistory* history,
                         std::function<void()> reveal) {
    const SnapshotEdit<AllEffectsState> edit(
        history, [ctx] { return takeAllEffects(ctx); }, kImportAllEffectsEdit,
        kImportAllEffectsEdit, {},
        [ctx, reveal = std::move(reveal)](const AllEffectsState& state) mutable {
            const Outcome out = restoreAllEffects(state, ctx);
            if (out.done && reveal) reveal();
            return out;
        });
    return importAllEffects(ctx, dialogs);
}

}  // namespace kx
