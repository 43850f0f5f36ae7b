// The application, a skinned test control and a loaded test skin shared by the skin-state tests.
#pragma once

#include "framework/Forms.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"

#include "tests/skin_controls/skin_controls_support.h"
#include "tests/support/test_support.h"

#include <memory>
#include <vector>

// A windowed control painted from its skin state: it hands every message to the shared handling first
// and logs the skin commands it receives.
class TSkinnedBox : public TCustomControl {
    DECLARE_CLASS_NAME(TSkinnedBox)
public:
    explicit TSkinnedBox(TComponent* owner, int coc = 0);
    void Loaded() override;
    std::unique_ptr<TsCommonData> SkinData;
    std::vector<WORD> Commands;
    std::vector<UINT> Messages;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
};

// A windowless control with a skin state of its own.
class TSkinnedShape : public TGraphicControl {
    DECLARE_CLASS_NAME(TSkinnedShape)
public:
    explicit TSkinnedShape(TComponent* owner);
    std::unique_ptr<TsCommonData> SkinData;
    std::vector<WORD> Commands;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
};

// A form that keeps a skinned cache of one colour and answers the cache and colour queries from it.
class TCacheForm : public TForm {
    DECLARE_CLASS_NAME(TCacheForm)
public:
    explicit TCacheForm(TComponent* owner);
    std::unique_ptr<TsCommonData> SkinData;
    std::vector<WORD> Commands;
    // Fills the cache bitmap, sized to the form, with Color.
    void FillCache(TColor color);

protected:
    void WndProc(TMessage& message) override;
};

// Each test: the application's exceptions collected, the test skin loaded into a fresh default manager,
// a visible form with a skinned box at (10, 10).
class SkinStateTest : public skincontrols::SkinnedTest {
    // Before the set-up and after the tear-down: the test sees the skin core without the forms layer.
    skincontrols::WithoutFormsLayer unlinked_;

protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the owner's Loaded the way the form reader does.
    static void LoadControl(TSkinnedBox* box);
    TsGeneralData& SectionOf(const std::wstring& name);

    TCacheForm* Form = nullptr;       // owned by the application
};
