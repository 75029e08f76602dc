#include "materials/material.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace kx {

namespace {

bool isFlag(int v) {
    return v == 0 || v == 1;
}
bool inRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

bool setByte(std::uint8_t& member, int v, int lo, int hi) {
    if (!inRange(v, lo, hi)) return false;
    member = static_cast<std::uint8_t>(v);
    return true;
}

}  // namespace

int materialNumber(int module, int slot) {
    return (module - 1) * kSlotsPerModule + slot;
}

std::optional<MaterialSlot> materialSlotOf(int number) {
    if (number < 1 || number > kMaterialsPerBank) return std::nullopt;
    for (int m = 1; m <= kModules; ++m) {
        if (kSlotsPerModule * m >= number)
            return MaterialSlot{m, number - kSlotsPerModule * (m - 1)};
    }
    return std::nullopt;
}

// What an unstored Step reads as.
constexpr std::array<std::uint8_t, kMaxVirtualFixtures * kMaxMaterialChannels> kZeroRow{};

std::uint64_t RoutingStamp::next() {
    static std::atomic<std::uint64_t> sequence{0};
    return ++sequence;
}

Material::Material() : m_steps(1), m_values(1), m_aside(1) {}

bool Material::setStepCount(int n) {
    if (!inRange(n, 0, kMaxSteps)) return false;
    m_steps.resize(n + 1);
    m_values.resize(n + 1);
    m_aside.resize(n + 1);
    return true;
}

bool Material::setUnifiedTime(int t) {
    if (!inRange(t, INT16_MIN, INT16_MAX)) return false;
    m_unifiedTime = static_cast<std::int16_t>(t);
    return true;
}

bool Material::setPerStepTime(int v) {
    return setByte(m_perStepTime, v, 0, 1);
}
bool Material::setAllStepsFade(int v) {
    return setByte(m_allStepsFade, v, 0, 1);
}
bool Material::setJumpSize(int v) {
    return setByte(m_jumpSize, v, 0, 255);
}
bool Material::setJumpAtRangeEnd(int v) {
    return setByte(m_jumpAtRangeEnd, v, 0, 1);
}
bool Material::setBrightnessCut(int v) {
    return setByte(m_brightnessCut, v, 0, 100);
}
bool Material::setStartMode(int v) {
    return setByte(m_startMode, v, 0, kMaxStartMode);
}
bool Material::setVirtualDimming(int v) {
    return setByte(m_virtualDimming, v, 0, kMaxVirtualDimming);
}
bool Material::setHardwareSpeed(int v) {
    return setByte(m_hardwareSpeed, v, 0, kMaxHardwareSpeed);
}
bool Material::setRunFromStart(int v) {
    return setByte(m_runFromStart, v, 0, 1);
}
bool Material::setMotionMode(int v) {
    return setByte(m_motionMode, v, 0, kMaxMotionMode);
}

void Material::relayout(int fixtures, int channels) {
    constexpr int kFull = kMaxVirtualFixtures * kMaxMaterialChannels;
    const int oldF = m_fixtureCount;
    const int oldC = m_channelCount;
    auto allZero = [](const std::vector<std::uint8_t>& row) {
        return std::all_of(row.begin(), row.end(), [](std::uint8_t x) { return x == 0; });
    };
    for (std::size_t s = 0; s < m_values.size(); ++s) {
        auto& row = m_values[s];
        auto& aside = m_aside[s];
        if (row.empty() && aside.empty()) continue;
        // Every value of the Step at the full layout, then split again along the new counts.
        std::vector<std::uint8_t> full =
            aside.empty() ? std::vector<std::uint8_t>(kFull, 0) : aside;
        for (int v = 0; v < oldF && !row.empty(); ++v)
            std::copy_n(row.begin() + v * oldC, oldC, full.begin() + v * kMaxMaterialChannels);
        std::vector<std::uint8_t> shown(static_cast<std::size_t>(fixtures) * channels, 0);
        for (int v = 0; v < fixtures; ++v) {
            auto first = full.begin() + v * kMaxMaterialChannels;
            std::copy_n(first, channels, shown.begin() + v * channels);
            std::fill_n(first, channels, 0);
        }
        row = allZero(shown) ? std::vector<std::uint8_t>{} : std::move(shown);
        aside = allZero(full) ? std::vector<std::uint8_t>{} : std::move(full);
    }
    m_fixtureCount = static_cast<std::uint8_t>(fixtures);
    m_channelCount = static_cast<std::uint8_t>(channels);
    m_routing.renew();
}

bool Material::setFixtureCount(int n) {
    if (!inRange(n, 0, kMaxVirtualFixtures)) return false;
    if (n != m_fixtureCount) relayout(n, m_channelCount);
    return true;
}

bool Material::setChannelCount(int n) {
    if (!inRange(n, 0, kMaxMaterialChannels)) return false;
    if (n != m_channelCount) relayout(m_fixtureCount, n);
    return true;
}

int Material::channelFunction(int channel) const {
    return inRange(channel, 1, kMaxMaterialChannels) ? m_channelFunctions[channel - 1] : 0;
}

bool Material::setChannelFunction(int channel, int code) {
    if (!inRange(channel, 1, kMaxMaterialChannels) || !inRange(code, 0, 255)) return false;
    if (m_channelFunctions[channel - 1] != code) {
        m_channelFunctions[channel - 1] = static_cast<std::uint8_t>(code);
        m_routing.renew();
    }
    return true;
}

bool Material::isMapped(int fixture, int page, int number) const {
    if (m_fixtureMap.empty() || !inRange(fixture, 1, kMaxVirtualFixtures) ||
        !isFixtureSlot(page, number))
        return false;
    return m_fixtureMap[fixture - 1][page].test(number);
}

bool Material::setMapped(int fixture, int page, int number, bool on) {
    if (!inRange(fixture, 1, kMaxVirtualFixtures) || !isFixtureSlot(page, number)) return false;
    if (m_fixtureMap.empty()) {
        if (!on) return true;
        m_fixtureMap.resize(kMaxVirtualFixtures);
    }
    if (m_fixtureMap[fixture - 1][page].test(number) != on) {
        m_fixtureMap[fixture - 1][page].set(number, on);
        m_routing.renew();
    }
    return true;
}

int Material::tempChannel(int entry) const {
    return inRange(entry, 1, kTempChannelEntries) ? m_tempChannels[entry - 1] : 0;
}

bool Material::hasTempChannel(int code) const {
    return code != 0 &&
           std::find(m_tempChannels.begin(), m_tempChannels.end(), code) != m_tempChannels.end();
}

bool Material::setTempChannel(int entry, int code) {
    if (!inRange(entry, 1, kTempChannelEntries) || !inRange(code, 0, 255)) return false;
    if (code != 0 && m_tempChannels[entry - 1] != code && hasTempChannel(code)) return false;
    m_tempChannels[entry - 1] = static_cast<std::uint8_t>(code);
    return true;
}

int Material::usedTempChannels() const {
    return static_cast<int>(std::count_if(m_tempChannels.begin(), m_tempChannels.end(),
                                          [](std::uint8_t c) { return c != 0; }));
}

TempChannelToggle Material::toggleTempChannel(int code) {
    if (!inRange(code, 1, 255)) return TempChannelToggle::Invalid;
    auto listed = std::find(m_tempChannels.begin(), m_tempChannels.end(), code);
    if (listed != m_tempChannels.end()) {
        *listed = 0;
        return TempChannelToggle::Removed;
    }
    auto empty = std::find(m_tempChannels.begin(), m_tempChannels.end(), 0);
    if (empty == m_tempChannels.end()) return TempChannelToggle::Full;
    *empty = static_cast<std::uint8_t>(code);
    return TempChannelToggle::Added;
}

int Material::motionGlobal(int entry) const {
    return inRange(entry, 1, kMotionParameters) ? m_motionGlobal[entry - 1] : 0;
}

bool Material::setMotionGlobal(int entry, int value) {
    if (!inRange(entry, 1, kMotionParameters)) return false;
    m_motionGlobal[entry - 1] = value;
    return true;
}

int Material::motionPerFixture(int fixture, int entry) const {
    if (m_motionPerFixture.empty() || !inRange(fixture, 1, kMaxVirtualFixtures) ||
        !inRange(entry, 1, kMotionParameters))
        return 0;
    return m_motionPerFixture[(fixture - 1) * kMotionParameters + entry - 1];
}

bool Material::setMotionPerFixture(int fixture, int entry, int value) {
    if (!inRange(fixture, 1, kMaxVirtualFixtures) || !inRange(entry, 1, kMotionParameters))
        return false;
    if (m_motionPerFixture.empty()) {
        if (value == 0) return true;
        m_motionPerFixture.resize(kMaxVirtualFixtures * kMotionParameters, 0);
    }
    m_motionPerFixture[(fixture - 1) * kMotionParameters + entry - 1] = value;
    return true;
}

StepInfo Material::stepInfo(int step) const {
    return inRange(step, 0, stepCount()) ? m_steps[step] : StepInfo{};
}

bool Material::setStepTime(int step, int t) {
    if (!inRange(step, 0, stepCount()) || !inRange(t, INT16_MIN, INT16_MAX)) return false;
    m_steps[step].stepTime = static_cast<std::int16_t>(t);
    return true;
}

bool Material::setFadeToNext(int step, int flag) {
    if (!inRange(step, 0, stepCount()) || !isFlag(flag)) return false;
    m_steps[step].fadeToNext = static_cast<std::uint8_t>(flag);
    return true;
}

bool Material::setJumpMark(int step, int flag) {
    if (!inRange(step, 0, stepCount()) || !isFlag(flag)) return false;
    m_steps[step].jumpMark = static_cast<std::uint8_t>(flag);
    return true;
}

std::span<const std::uint8_t> Material::stepValues(int step) const {
    if (!inRange(step, 0, stepCount())) return {};
    const auto& row = m_values[step];
    if (row.empty()) return std::span(kZeroRow).first(cellsPerStep());
    return row;
}

std::span<std::uint8_t> Material::stepValues(int step) {
    if (!inRange(step, 0, stepCount())) return {};
    auto& row = m_values[step];
    if (row.empty()) row.assign(cellsPerStep(), 0);
    return row;
}

void Material::clearStepValues(int step) {
    if (!inRange(step, 0, stepCount())) return;
    m_values[step] = {};
    m_aside[step] = {};
}

int Material::value(int step, int fixture, int channel) const {
    if (!inRange(fixture, 1, m_fixtureCount) || !inRange(channel, 1, m_channelCount)) return 0;
    const auto row = std::as_const(*this).stepValues(step);
    return row.empty() ? 0 : row[(fixture - 1) * m_channelCount + channel - 1];
}

bool Material::setValue(int step, int fixture, int channel, int value) {
    if (!inRange(fixture, 1, m_fixtureCount) || !inRange(channel, 1, m_channelCount) ||
        !inRange(value, 0, 255) || !inRange(step, 0, stepCount()))
        return false;
    if (value == 0 && m_values[step].empty()) return true;
    stepValues(step)[(fixture - 1) * m_channelCount + channel - 1] =
        static_cast<std::uint8_t>(value);
    return true;
}

bool Material::copyStepContent(int from, int to) {
    if (!inRange(from, 0, stepCount()) || !inRange(to, 0, stepCount())) return false;
    if (from == to) return true;
    m_steps[to].stepTime = m_steps[from].stepTime;
    m_values[to] = m_values[from];
    m_aside[to] = m_aside[from];
    return true;
}

std::size_t Material::memoryBytes() const {
    std::size_t n = sizeof(Material) + m_remark.capacity() * sizeof(QChar) +
                    m_steps.capacity() * sizeof(StepInfo) +
                    (m_values.capacity() + m_aside.capacity()) * sizeof(std::vector<std::uint8_t>) +
                    m_fixtureMap.capacity() * sizeof(m_fixtureMap[0]) +
                    m_motionPerFixture.capacity() * sizeof(std::int32_t);
    for (const auto& v : m_values)
        n += v.capacity();
    for (const auto& v : m_aside)
        n += v.capacity();
    return n;
}

std::size_t snapshotBytes(const Material& m) {
    return m.memoryBytes();
}

std::size_t snapshotBytes(const MaterialBank& bank) {
    std::size_t n = 0;
    for (const Material& m : bank.materials)
        n += m.memoryBytes();
    return n;
}

bool Material::operator==(const Material& o) const {
    if (m_remark != o.m_remark || m_unifiedTime != o.m_unifiedTime ||
        m_perStepTime != o.m_perStepTime || m_allStepsFade != o.m_allStepsFade ||
        m_jumpSize != o.m_jumpSize || m_jumpAtRangeEnd != o.m_jumpAtRangeEnd ||
        m_brightnessCut != o.m_brightnessCut || m_startMode != o.m_startMode ||
        m_virtualDimming != o.m_virtualDimming || m_hardwareSpeed != o.m_hardwareSpeed ||
        m_runFromStart != o.m_runFromStart || m_motionMode != o.m_motionMode ||
        m_fixtureCount != o.m_fixtureCount || m_channelCount != o.m_channelCount ||
        m_channelFunctions != o.m_channelFunctions || m_tempChannels != o.m_tempChannels ||
        m_motionGlobal != o.m_motionGlobal || m_steps != o.m_steps)
        return false;
    for (int s = 0; s <= stepCount(); ++s)
        if (!std::ranges::equal(stepValues(s), o.stepValues(s))) return false;
    // The lazily allocated tables compare by content: never-set equals all-zero.
    auto sameMap = [](const auto& a, const auto& b) {
        if (a.empty() || b.empty()) {
            const auto& set = a.empty() ? b : a;
            return std::all_of(set.begin(), set.end(), [](const auto& pages) {
                return std::all_of(pages.begin(), pages.end(),
                                   [](const auto& bits) { return bits.none(); });
            });
        }
        return a == b;
    };
    auto sameMotion = [](const auto& a, const auto& b) {
        if (a.empty() || b.empty()) {
            const auto& set = a.empty() ? b : a;
            return std::all_of(set.begin(), set.end(), [](std::int32_t v) { return v == 0; });
        }
        return a == b;
    };
    return sameMap(m_fixtureMap, o.m_fixtureMap) &&
           sameMotion(m_motionPerFixture, o.m_motionPerFixture);
}

bool materialExists(const Material& m) {
    return m.stepCount() > 0 && m.fixtureCount() > 0 && m.channelCount() > 0;
}

bool isDarkStep(const Material& m, int step) {
    if (m.fixtureCount() == 0) return true;
    const auto row = std::as_const(m).stepValues(step);
    return std::all_of(row.begin(), row.end(), [](std::uint8_t v) { return v == 0; });
}

int jumpMarkCount(const Material& m) {
    int n = 0;
    for (int s = 1; s <= m.stepCount(); ++s)
        n += m.stepInfo(s).jumpMark == 1;
    return n;
}

void clearMaterial(Material& m) {
    m = Material{};
}

void clearSteps(Material& m) {
    m.setStepCount(0);
}

void applyDefaultTimes(Material& m) {
    if (m.unifiedTime() == 0) m.setUnifiedTime(kDefaultTime);
    for (int s = 0; s <= m.stepCount(); ++s)
        if (m.stepTime(s) == 0) m.setStepTime(s, kDefaultTime);
}

bool materialExists(const MaterialBank& bank, int module, int slot) {
    return materialExists(bank.at(module, slot));
}

bool moduleHasMaterials(const MaterialBank& bank, int module) {
    for (int s = 1; s <= kSlotsPerModule; ++s)
        if (materialExists(bank, module, s)) return true;
    return false;
}

bool isDarkStep(const MaterialBank& bank, int module, int slot, int step) {
    return isDarkStep(bank.at(module, slot), step);
}

int jumpMarkCount(const MaterialBank& bank, int module, int slot) {
    return jumpMarkCount(bank.at(module, slot));
}

void clearMaterial(MaterialBank& bank, int module, int slot) {
    clearMaterial(bank.at(module, slot));
}
void clearSteps(MaterialBank& bank, int module, int slot) {
    clearSteps(bank.at(module, slot));
}
void applyDefaultTimes(MaterialBank& bank, int module, int slot) {
    applyDefaultTimes(bank.at(module, slot));
}

void clearBank(MaterialBank& bank) {
    for (auto& m : bank.materials)
        clearMaterial(m);
}

bool bankHasMaterials(const MaterialBank& bank) {
    for (int n = 1; n <= kMaterialsPerBank; ++n)
        if (materialExists(bank.byNumber(n))) return true;
    return false;
}

}  // namespace kx
