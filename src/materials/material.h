#pragma once

#include <QString>
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "fixtures/fixture_library.h"

namespace kx {

inline constexpr int kModules = 20;
inline constexpr int kSlotsPerModule = 12;
inline constexpr int kMaterialsPerBank = kModules * kSlotsPerModule;  // Material Numbers 1-240
inline constexpr int kMaxSteps = 600;
inline constexpr int kMaxVirtualFixtures = 40;
inline constexpr int kMaxMaterialChannels = 32;
inline constexpr int kTempChannelEntries = 20;
inline constexpr int kMotionParameters = 20;
inline constexpr int kMaterialRemarkMax = 20;  // characters kept in the files
inline constexpr int kDefaultTime = 10;        // 1.0 s, applied when the editor opens a Material
inline constexpr int kMaxStartMode = 6;
inline constexpr int kMaxVirtualDimming = 2;
inline constexpr int kMaxHardwareSpeed = 2;
inline constexpr int kMaxMotionMode = 1;

// Module 1-20 and Slot 1-12 of a Material within its Effect.
struct MaterialSlot {
    int module = 1;
    int slot = 1;
    bool operator==(const MaterialSlot&) const = default;
};

// (module - 1) x 12 + slot.
int materialNumber(int module, int slot);
// The Module and Slot of Material Number 1-240; nothing for any other number.
std::optional<MaterialSlot> materialSlotOf(int number);

// Step times and flags; a Step's values live in the Material's value store.
struct StepInfo {
    std::int16_t stepTime = 0;    // tenths of a second, used when perStepTime is on
    std::uint8_t fadeToNext = 0;  // 0/1
    std::uint8_t jumpMark = 0;    // 0/1, the Controller's jump list
    bool operator==(const StepInfo&) const = default;
};

enum class TempChannelToggle { Added, Removed, Full, Invalid };

// Names what a Material's Output Maps are compiled from: its counts, Channel Functions and Fixture
// Map. Every change of these takes a new stamp from one process-wide sequence and a copy keeps
// its source's, so two Materials with the same stamp route alike (a moved-from one takes a new
// stamp, since its contents are gone).
class RoutingStamp {
  public:
    RoutingStamp() : m_value(next()) {}
    RoutingStamp(const RoutingStamp&) = default;
    RoutingStamp& operator=(const RoutingStamp&) = default;
    RoutingStamp(RoutingStamp&& o) noexcept : m_value(o.m_value) { o.renew(); }
    RoutingStamp& operator=(RoutingStamp&& o) noexcept {
        m_value = o.m_value;
        o.renew();
        return *this;
    }

    void renew() { m_value = next(); }
    std::uint64_t value() const { return m_value; }

  private:
    static std::uint64_t next();
    std::uint64_t m_value;
};

// One Material: Steps of values for fixtureCount Virtual Fixtures x channelCount channels, its
// times, playback options, mapping onto the Fixture Library, Temporary Channels and circle-motion
// parameters. Storage follows the data: Steps 0 (the scratch Step) to stepCount are held, each
// with fixtureCount x channelCount values once any of them is not 0 (a dark Step holds none).
// Values a lowered count puts outside the counts are kept aside and come back when the count is
// raised again; nothing reads them meanwhile (files, output and equality see the counts only).
// Every setter refuses a value outside its field's range (false) and then changes nothing.
class Material {
  public:
    Material();

    const QString& remark() const { return m_remark; }
    void setRemark(const QString& text) { m_remark = text; }

    int stepCount() const { return static_cast<int>(m_steps.size()) - 1; }
    // 0-600. New Steps are blank (time 0, flags 0, values 0); Steps above n are dropped.
    bool setStepCount(int n);

    int unifiedTime() const { return m_unifiedTime; }
    bool setUnifiedTime(int t);  // a 16-bit signed value
    int perStepTime() const { return m_perStepTime; }
    bool setPerStepTime(int flag);
    int allStepsFade() const { return m_allStepsFade; }
    bool setAllStepsFade(int flag);
    int jumpSize() const { return m_jumpSize; }
    bool setJumpSize(int n);  // 0-255
    int jumpAtRangeEnd() const { return m_jumpAtRangeEnd; }
    bool setJumpAtRangeEnd(int flag);
    int brightnessCut() const { return m_brightnessCut; }
    bool setBrightnessCut(int cut);  // 0-100
    int brightness() const { return 100 - m_brightnessCut; }
    int startMode() const { return m_startMode; }
    bool setStartMode(int mode);  // 0-6
    int virtualDimming() const { return m_virtualDimming; }
    bool setVirtualDimming(int mode);  // 0-2
    int hardwareSpeed() const { return m_hardwareSpeed; }
    bool setHardwareSpeed(int speed);  // 0-2
    int runFromStart() const { return m_runFromStart; }
    bool setRunFromStart(int flag);
    int motionMode() const { return m_motionMode; }
    bool setMotionMode(int mode);  // 0-1

    int fixtureCount() const { return m_fixtureCount; }
    int channelCount() const { return m_channelCount; }
    // 0-40 and 0-32. Every value is kept in every Step: those outside the new counts wait aside
    // until the counts reach them again.
    bool setFixtureCount(int n);
    bool setChannelCount(int n);
    int cellsPerStep() const { return m_fixtureCount * m_channelCount; }

    int channelFunction(int channel) const;  // 0 outside 1-32
    bool setChannelFunction(int channel, int code);

    // The Fixture Map: Virtual Fixture 1-40, Library Page 0-4, fixture number 1-100.
    bool isMapped(int fixture, int page, int number) const;
    bool setMapped(int fixture, int page, int number, bool on);

    // Temporary Channels, entries 1-20; 0 is an empty entry; a code is held at most once.
    int tempChannel(int entry) const;
    bool setTempChannel(int entry, int code);
    bool hasTempChannel(int code) const;
    int usedTempChannels() const;
    // Removes a listed code, or puts it into the first empty entry (Full when none is left).
    TempChannelToggle toggleTempChannel(int code);

    // Circle-motion parameters, entries 1-20, for the whole Material and per Virtual Fixture 1-40.
    int motionGlobal(int entry) const;
    bool setMotionGlobal(int entry, int value);
    int motionPerFixture(int fixture, int entry) const;
    bool setMotionPerFixture(int fixture, int entry, int value);

    // Steps 0-stepCount; anything outside reads as a blank Step and cannot be set.
    StepInfo stepInfo(int step) const;
    int stepTime(int step) const { return stepInfo(step).stepTime; }
    bool setStepTime(int step, int t);
    bool setFadeToNext(int step, int flag);
    bool setJumpMark(int step, int flag);
    int value(int step, int fixture, int channel) const;
    bool setValue(int step, int fixture, int channel, int value);
    // The values of a Step, Virtual Fixture 1 first (its channels in order); empty outside.
    std::span<const std::uint8_t> stepValues(int step) const;
    // The same for writing; gives the Step its own storage.
    std::span<std::uint8_t> stepValues(int step);
    void clearStepValues(int step);
    // Step `to` takes the time and values of Step `from`; the flags stay with their Steps.
    bool copyStepContent(int from, int to);

    // Changes whenever what the Output Maps are compiled from changes.
    std::uint64_t routingStamp() const { return m_routing.value(); }

    bool operator==(const Material& other) const;
    // What the Material takes in memory, its Steps' storage included.
    std::size_t memoryBytes() const;

  private:
    QString m_remark;
    std::int16_t m_unifiedTime = 0;
    std::uint8_t m_perStepTime = 0;
    std::uint8_t m_allStepsFade = 0;
    std::uint8_t m_jumpSize = 0;
    std::uint8_t m_jumpAtRangeEnd = 0;
    std::uint8_t m_brightnessCut = 0;
    std::uint8_t m_startMode = 0;
    std::uint8_t m_virtualDimming = 0;
    std::uint8_t m_hardwareSpeed = 0;
    std::uint8_t m_runFromStart = 0;
    std::uint8_t m_motionMode = 0;
    std::uint8_t m_fixtureCount = 0;
    std::uint8_t m_channelCount = 0;
    std::array<std::uint8_t, kMaxMaterialChannels> m_channelFunctions{};
    std::array<std::uint8_t, kTempChannelEntries> m_tempChannels{};
    std::array<std::int32_t, kMotionParameters> m_motionGlobal{};
    std::vector<StepInfo> m_steps;  // Steps 0..stepCount
    // Per Step: empty (all 0) or fixtureCount x channelCount values.
    std::vector<std::vector<std::uint8_t>> m_values;
    // Per Step: empty, or the values outside the counts at the full 40 x 32 layout (cells inside
    // the counts 0).
    std::vector<std::vector<std::uint8_t>> m_aside;
    RoutingStamp m_routing;
    // Allocated on the first non-empty entry: Virtual Fixture (0-39) x page x fixture number.
    std::vector<std::array<std::bitset<kFixturesPerPage + 1>, kLibraryPageSlots>> m_fixtureMap;
    // Allocated on the first non-zero entry: Virtual Fixture (0-39) x entry (0-19).
    std::vector<std::int32_t> m_motionPerFixture;

    void relayout(int fixtures, int channels);
};

// A Material exists (is saved, listed, playable) when it has Steps, Virtual Fixtures and channels.
bool materialExists(const Material& m);
// True when the Material has no Virtual Fixtures or every value of the Step is 0.
bool isDarkStep(const Material& m, int step);
// Steps 1..stepCount whose jumpMark is set.
int jumpMarkCount(const Material& m);
// Everything to 0 or empty.
void clearMaterial(Material& m);
// No Steps; fixtures, channels, mapping and options stay (the scratch Step too).
void clearSteps(Material& m);
// A unifiedTime of 0 and every stepTime of 0 become 10.
void applyDefaultTimes(Material& m);

// The 240 Materials of one Effect; index 0 is never used.
struct MaterialBank {
    std::array<Material, kMaterialsPerBank + 1> materials;

    Material& at(int module, int slot) { return materials.at(materialNumber(module, slot)); }
    const Material& at(int module, int slot) const {
        return materials.at(materialNumber(module, slot));
    }
    Material& byNumber(int number) { return materials.at(number); }
    const Material& byNumber(int number) const { return materials.at(number); }

    bool operator==(const MaterialBank&) const = default;
};

// What a snapshot of the table takes (the edit history's bound).
std::size_t snapshotBytes(const Material& m);
std::size_t snapshotBytes(const MaterialBank& bank);

bool materialExists(const MaterialBank& bank, int module, int slot);
bool moduleHasMaterials(const MaterialBank& bank, int module);
bool isDarkStep(const MaterialBank& bank, int module, int slot, int step);
int jumpMarkCount(const MaterialBank& bank, int module, int slot);
void clearMaterial(MaterialBank& bank, int module, int slot);
void clearSteps(MaterialBank& bank, int module, int slot);
void applyDefaultTimes(MaterialBank& bank, int module, int slot);
void clearBank(MaterialBank& bank);
// True when the bank holds at least one existing Material.
bool bankHasMaterials(const MaterialBank& bank);

}  // namespace kx
