// Driving the notebook's main window as a person would: tabs, the recipe list, tool buttons, menus,
// pop-up menus and message boxes, with every position read from the windows at run time.
#pragma once

#include "tests/e2e/program_fixture.h"
#include "tests/e2e/remote_controls.h"

#include <string>
#include <vector>

namespace e2e {

class NotebookTest : public ProgramTest {
protected:
    // Starts the program and finds the parts of its main window.
    void StartNotebook();

    // The parts of the main window (found by their window classes).
    HWND Tabs() const { return tabs_; }
    HWND List() const { return list_; }
    HWND View() const { return view_; }
    HWND ToolBar() const { return toolBar_; }
    HWND StatusBar() const { return statusBar_; }

    void ClickTab(int index, MouseButton button = MouseButton::Left);
    int TabIndexOf(const std::wstring& caption) const;
    // Clicks tab `caption` and waits until the list shows that category.
    void OpenCategory(const std::wstring& caption);
    void ClickRecipe(int index, MouseButton button = MouseButton::Left);
    // Clicks a recipe by caption and waits until it is selected.
    void OpenRecipe(const std::wstring& caption);
    void ClickToolButton(const std::wstring& caption);
    ToolButtonInfo ToolButton(const std::wstring& caption) const { return FindToolButton(toolBar_, caption); }

    // Chooses a main-menu command with the keyboard: the menu's position on the bar, then the item's
    // position among the menu's items (separators not counted), then, for a submenu, the position in it.
    void ChooseMenu(int menu, int item, int subItem = -1);
    // In an open pop-up menu, chooses its last item.
    void ChooseLastPopupItem();

    // Waits for a message box of the program, keeps its screenshot, presses the button with this caption.
    // Returns false when no box showed.
    bool AnswerMessage(const std::wstring& buttonCaption, const std::wstring& shotName);

    std::wstring ViewText() const { return WindowCaption(view_); }
    // The first paragraph of the view (the recipe's name).
    std::wstring ViewFirstLine() const;
    std::vector<std::wstring> ListItems() const { return ListCaptions(list_); }
    // The recipe captions of a category as the folder lists its .rcp files.
    std::vector<std::wstring> RecipesOnDisk(const std::wstring& category) const;
    // The categories as the Bases folder lists them.
    std::vector<std::wstring> CategoriesOnDisk() const;

    // Rating stars seen in the status bar (0 to 5), counted on a screenshot.
    int StarsSeen();

    // Presses a key in an open pop-up menu until the menu shows the change (a key that reaches the menu
    // before its tracking loop reads input is lost).
    bool PressInMenu(HWND popup, WORD key);
    // The button of a dialog with this caption, waited for: under Wine a window repainted with its
    // redrawing switched off is invisible for that while. Adds a failure and returns null when none shows.
    HWND ButtonOf(HWND dialog, const std::wstring& caption);
    // Drops a combo box's list with a click on its arrow; the list's window, or null when none shows.
    HWND DropDownList(HWND combo);
    // Opens the system menu with a right click on the caption and picks skin `index` (counted from 0 in
    // the sorted list) of its first item, "Available skins".
    void PickSkin(int index);

private:
    HWND tabs_ = nullptr;
    HWND list_ = nullptr;
    HWND view_ = nullptr;
    HWND toolBar_ = nullptr;
    HWND statusBar_ = nullptr;
};

// A part of a window by any of the class names it may have (the standard control or its skinned kind).
HWND FindPart(HWND top, std::initializer_list<const wchar_t*> classNames);

} // namespace e2e
