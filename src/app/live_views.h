#pragma once

namespace kx::live_view {

// The live output's view numbers, as the Controller's frames have always been told them.
constexpr int kDownload = 1;
constexpr int kDeviceFiles = 3;
constexpr int kSceneEditor = 4;
constexpr int kFixtureLibrary = 5;
constexpr int kRoomControl = 6;
constexpr int kMaterialStatic = 7;
constexpr int kMaterialRun = 8;
constexpr int kEffectEditor = 9;
constexpr int kTestConsole = 10;
constexpr int kAirConIr = 11;

}  // namespace kx::live_view
