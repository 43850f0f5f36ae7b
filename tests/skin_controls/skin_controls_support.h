// What the skinned controls' program shares beyond its environment (skin_controls_support.cpp).
#pragma once

#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinManager.h"

#include "tests/support/test_support.h"

#include <string>
#include <vector>

namespace skincontrols {

// A control as a system that aligns and reads right to left shows it (this machine's locale does not).
template <class TControlClass>
class TRightToLeft : public TControlClass {
public:
    using TControlClass::TControlClass;
    bool UseRightToLeftAlignment() const override { return true; }
    bool UseRightToLeftReading() const override { return true; }
};

// Takes the form-skinning layer's links away for as long as it lives and gives them back after: the
// fixtures of the skin core's own control behaviour (the skin state, the tab strip, the window adapters
// a manager chooses) hold one, so they see the core as it is without that layer.
class WithoutFormsLayer {
public:
    WithoutFormsLayer();
    ~WithoutFormsLayer();
    WithoutFormsLayer(const WithoutFormsLayer&) = delete;
    WithoutFormsLayer& operator=(const WithoutFormsLayer&) = delete;

private:
    TacSkinLinks saved_;
};

// The fixture base of the skinned controls: a fresh temporary folder for the test's skins, the
// application's exceptions collected (none may reach it), and the default manager the test loads with
// LoadSkin, freed after the test's own tear-down.
class SkinnedTest : public testsupport::TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The default manager, reading the skin Name written under Folder() with the given rules.
    void LoadSkin(const std::wstring& name, const TacSkinningRules* rules = nullptr);

    std::vector<std::wstring> Errors;
    TsSkinManager* Manager = nullptr; // owned by the test
};

} // namespace skincontrols
