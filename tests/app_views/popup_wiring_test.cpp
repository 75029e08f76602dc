#include <gtest/gtest.h>

#include "link/link_fixture.h"
#include "materials/chase_generator_window.h"
#include "materials/popup_wiring.h"

namespace kx {
namespace {

using PopupWiringTest = test::LinkFixture;

TEST_F(PopupWiringTest, TheChaseWindowStaysOpenOnlyOverTheStaticMaterialView) {
    constexpr int kMaterialStatic = 7;
    Appearance appearance;
    Material material;
    ChaseGeneratorWindow window(appearance);
    window.setMaterial(&material, {});
    std::vector<int> earlier;
    link->live().addTickObserver([&](int view, const DmxFrame&) { earlier.push_back(view); });
    hideOutsideView(link->live(), kMaterialStatic, &window);

    link->live().setView(kMaterialStatic);
    window.toggle();
    link->outputTick();
    EXPECT_TRUE(window.isVisible());

    for (int view : {8, 5, 9}) {
        link->live().setView(kMaterialStatic);
        if (!window.isVisible()) window.toggle();
        link->live().setView(view);
        link->outputTick();
        EXPECT_FALSE(window.isVisible()) << view;
    }
    EXPECT_EQ(earlier, (std::vector<int>{7, 8, 5, 9}));
}

TEST_F(PopupWiringTest, ADeletedPopupIsLeftAlone) {
    auto* popup = new QWidget;
    hideOutsideView(link->live(), 7, popup);
    delete popup;
    link->live().setView(5);
    link->outputTick();
    SUCCEED();
}

}  // namespace
}  // namespace kx
