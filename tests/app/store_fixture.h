// A program folder of its own for each test, scripted message boxes, and small file routines shared by
// the store's tests.
#pragma once

#include "app/recipe_store.h"
#include "app/store_dialogs.h"
#include "tests/support/test_support.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace apptest {

// The boxes the store shows, recorded; confirmations take their answers from a script (No when the
// script is empty).
class ScriptedDialogs : public TStoreDialogs {
public:
    enum class Kind { Message, Information, Warning, Confirm };
    struct Box {
        Kind kind;
        std::wstring text;
    };

    void ShowMessage(const std::wstring& text) override { boxes.push_back({Kind::Message, text}); }
    void ShowInformation(const std::wstring& text) override { boxes.push_back({Kind::Information, text}); }
    void ShowWarning(const std::wstring& text) override { boxes.push_back({Kind::Warning, text}); }
    bool Confirm(const std::wstring& text) override
    {
        boxes.push_back({Kind::Confirm, text});
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    std::vector<Box> boxes;
    std::deque<bool> answers;
};

// A temporary program folder with a Bases folder; the process's current directory is restored after
// each test, since deleting a tree moves it.
class StoreTest : public testsupport::TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring Bases() const { return PathOf(L"Bases"); }
    // ProgramDir\Bases\category\file
    std::wstring InCategory(const std::wstring& category, const std::wstring& file) const;
    void MakeCategory(const std::wstring& category) const;
    void WriteText(const std::wstring& path, const std::string& text) const;

    ScriptedDialogs dialogs;
    std::unique_ptr<TRecipeStore> store;

private:
    std::wstring savedDir_;
};

// A file held open without sharing, as another program may hold it: it can be neither read nor replaced.
using HeldFile = std::unique_ptr<void, decltype(&CloseHandle)>;
HeldFile HoldFile(const std::wstring& path);
// RTF groups nested depth deep around one letter, closed or cut off before the closing braces.
std::string NestedRtf(int depth, bool closed = true);

bool Exists(const std::wstring& path);
std::string Utf8(const std::wstring& text);

} // namespace apptest
