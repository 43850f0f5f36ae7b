// A recipe written down, rated, moved and found again through the program's dialogs, as a person does
// it: every field typed, the photo picked in the open-picture dialog, each result checked on disk and in
// the main window, with a screenshot of every dialog.
#include "app/recipe_document.h"
#include "tests/e2e/notebook_driver.h"
#include "tests/e2e/system_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace e2e;
using testsupport::Narrow;

constexpr wchar_t kFavourites[] = L"Избранное";

// Positions in the main menu (menus on the bar; items without separators).
constexpr int kMenuEdit = 1;
constexpr int kItemRating = 2;
constexpr int kItemMove = 3;

// The recipe of these scenarios. The word searched for stands in its products, not in its name, and
// the sample base holds it nowhere else.
struct Pie {
    static constexpr wchar_t kName[] = L"Пирог с брусникой по-вологодски";
    static constexpr wchar_t kPortions[] = L"8";
    static constexpr wchar_t kRating[] = L"3";
    static constexpr wchar_t kAuthor[] = L"Тётя Зина из Тотьмы";
    static constexpr wchar_t kSearchWord[] = L"черёмуха";
    static std::vector<std::wstring> Products()
    {
        return {L"Черёмуха молотая — 100 г", L"Мука ржаная — 300 г", L"Брусника — 400 г"};
    }
    static std::vector<std::wstring> Method()
    {
        return {L"Тесто замесить и оставить на час.", L"Ягоды смешать с сахаром, выложить на тесто и печь 40 минут."};
    }
    // The document's paragraphs as the new-recipe dialog writes them from these fields.
    static std::vector<std::wstring> Lines(const std::wstring& rating)
    {
        std::vector<std::wstring> lines{kName, rating, L"Количество порций : " + std::wstring(kPortions),
                                        L"Необходимые продукты:"};
        for (const auto& line : Products())
            lines.push_back(line);
        lines.push_back(L"Способ приготовления:");
        for (const auto& line : Method())
            lines.push_back(line);
        lines.push_back(L"");
        lines.push_back(L"Автор: " + std::wstring(kAuthor));
        return lines;
    }
};

std::wstring Joined(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const auto& line : lines)
        text += (text.empty() ? L"" : L"\r\n") + line;
    return text;
}

POINT Centre(const RECT& rc)
{
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// Windows sorted as a person reads a form: top to bottom, then left to right.
std::vector<HWND> InReadingOrder(std::vector<HWND> windows)
{
    std::sort(windows.begin(), windows.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return windows;
}

std::string LinesText(const std::vector<std::wstring>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += "\n  '" + Narrow(line) + "'";
    return text;
}

// The pixel size of a JPEG file from its frame header; {0, 0} when it has none.
SIZE JpegSize(const std::wstring& path)
{
    const std::string bytes = testsupport::ReadFileBytes(path);
    auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    size_t i = 2;
    while (i + 9 < bytes.size() && at(i) == 0xFF) {
        const unsigned char marker = at(i + 1);
        const size_t length = static_cast<size_t>(at(i + 2)) << 8 | at(i + 3);
        // Frame headers are C0..CF except the table markers C4, C8 and CC.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return {static_cast<LONG>(at(i + 7)) << 8 | at(i + 8), static_cast<LONG>(at(i + 5)) << 8 | at(i + 6)};
        i += 2 + length;
    }
    return {0, 0};
}

BOOL CALLBACK AddVisibleWindow(HWND wnd, LPARAM param)
{
    if (IsWindowVisible(wnd))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
    return TRUE;
}

std::vector<HWND> VisibleWindowsOf(HWND top)
{
    std::vector<HWND> found{top};
    EnumChildWindows(top, AddVisibleWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The colours of the system's own look of a combo box and its list: button faces and 3-D edges
// (white is left out: the program's skin paints its fields white too).
std::vector<COLORREF> StandardLookColours()
{
    std::vector<COLORREF> colours;
    for (int index : {COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT}) {
        const COLORREF c = GetSysColor(index);
        if (c != RGB(255, 255, 255) && std::find(colours.begin(), colours.end(), c) == colours.end())
            colours.push_back(c);
    }
    return colours;
}

int PixelsOfColours(const testsupport::Pixels24& shot, const std::vector<COLORREF>& colours)
{
    int count = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (std::find(colours.begin(), colours.end(), shot.At(x, y)) != colours.end())
                ++count;
    return count;
}

class RecipeDialogsTest : public NotebookTest {
protected:
    // The categories a recipe may be put into: real folders other than the favourites.
    std::vector<std::wstring> PlainCategories() const
    {
        std::vector<std::wstring> found;
        for (const auto& category : CategoriesOnDisk())
            if (category != kFavourites && FolderExists(CategoryPath(category)) && !RecipesOnDisk(category).empty())
                found.push_back(category);
        return found;
    }

    // A photo of the sample base.
    std::wstring SampleJpeg() const
    {
        for (const auto& category : CategoriesOnDisk())
            for (const auto& recipe : RecipesOnDisk(category)) {
                std::wstring photo = CategoryPath(category) + L"\\" + recipe + L".jpg";
                if (FileExists(photo))
                    return photo;
            }
        return {};
    }

    // Opens the new-recipe dialog from the tool bar and chooses the category; the dialog, or null (with a
    // failure added) when it or its category box does not show. The box itself goes to *categoryBox.
    HWND NewRecipeIn(const std::wstring& category, HWND* categoryBox = nullptr)
    {
        ClickToolButton(L"Новый");
        HWND dialog = WaitForProgramWindow(L"TNewForm", L"Новый рецепт");
        EXPECT_NE(dialog, nullptr) << "no new-recipe dialog";
        if (!dialog)
            return nullptr;
        HWND box = CategoryBox(dialog);
        EXPECT_NE(box, nullptr) << "no category box open for input";
        if (!box)
            return nullptr;
        ChooseComboItem(box, category);
        if (categoryBox)
            *categoryBox = box;
        return dialog;
    }

    // The new-recipe dialog's category box: the one of its two boxes that is open for input at first.
    static HWND CategoryBox(HWND dialog)
    {
        for (HWND box : FindChildWindows(dialog, L"TComboBox"))
            if (IsWindowEnabled(box))
                return box;
        return nullptr;
    }

    std::wstring PhotoPath(const std::wstring& category, const std::wstring& recipe) const
    {
        return CategoryPath(category) + L"\\" + recipe + L".jpg";
    }

    // The paragraphs of a recipe file as a rich-edit control reads them back.
    static std::vector<std::wstring> RecipeLines(const std::wstring& path)
    {
        recipes::HiddenRichEdit edit;
        std::wstring error;
        if (!edit.Valid() || !recipes::LoadRichEditFile(edit.Handle(), path, error)) {
            ADD_FAILURE() << "cannot read " << Narrow(path) << ": " << Narrow(error);
            return {};
        }
        return recipes::RichEditParagraphs(edit.Handle());
    }

    // The recipe of these scenarios written into a category before the program starts, as the
    // new-recipe dialog would have written it, with a photo when asked.
    void PlantPie(const std::wstring& category, bool withPhoto)
    {
        recipes::RecipeFields fields;
        fields.name = Pie::kName;
        fields.portions = Pie::kPortions;
        fields.rating = Pie::kRating;
        fields.products = Joined(Pie::Products());
        fields.method = Joined(Pie::Method());
        fields.author = Pie::kAuthor;
        recipes::HiddenRichEdit edit;
        ASSERT_TRUE(edit.Valid());
        recipes::ComposeRecipe(edit.Handle(), fields);
        std::wstring error;
        ASSERT_TRUE(recipes::SaveRichEditRtf(edit.Handle(), RecipePath(category, Pie::kName), error)) << Narrow(error);
        if (withPhoto) {
            const std::wstring photo = SampleJpeg();
            ASSERT_FALSE(photo.empty()) << "the sample base has no photo";
            ASSERT_TRUE(CopyFileW(photo.c_str(), PhotoPath(category, Pie::kName).c_str(), TRUE));
        }
    }

    // Drops a combo box's list with a click on its arrow and clicks the item with this text.
    void ChooseComboItem(HWND combo, const std::wstring& text)
    {
        // The arrow is the part of the box its edit field leaves free on the right.
        RECT client{};
        GetClientRect(combo, &client);
        int arrowLeft = client.right - GetSystemMetrics(SM_CXVSCROLL);
        if (HWND edit = FindChildWindow(combo, L"Edit")) {
            RECT rc{};
            GetWindowRect(edit, &rc);
            MapWindowPoints(nullptr, combo, reinterpret_cast<POINT*>(&rc), 2);
            arrowLeft = std::max<int>(arrowLeft, rc.right);
        }
        Bot().Click(combo, {(arrowLeft + client.right) / 2, (client.top + client.bottom) / 2});
        HWND list = WaitForTopWindow({ProcessId(), L"ComboLBox", {}, true}, 5000);
        ASSERT_NE(list, nullptr) << "the list of the box does not drop down";
        Bot().WaitIdle(list);
        auto items = ListBoxItems(list);
        auto it = std::find(items.begin(), items.end(), text);
        ASSERT_NE(it, items.end()) << "the box does not list " << Narrow(text);
        RECT item = ListBoxItemRect(list, static_cast<int>(it - items.begin()));
        RECT shown{}, visible{};
        GetClientRect(list, &shown);
        ASSERT_TRUE(IntersectRect(&visible, &item, &shown)) << Narrow(text) << " is not in view";
        Bot().Click(list, Centre(visible));
        ASSERT_TRUE(WaitForWindowGone(list, 5000)) << "the list stays open";
        ASSERT_TRUE(WaitUntil([&] { return WindowCaption(combo) == text; })) << Narrow(WindowCaption(combo));
    }

    // Clicks into a field and types text into it; lines are ended with the Return key.
    void TypeInto(HWND field, const std::vector<std::wstring>& lines)
    {
        Bot().ClickCentre(field);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                Bot().PressKey(VK_RETURN);
            Bot().TypeText(lines[i]);
        }
        ASSERT_TRUE(WaitUntil([&] { return WindowCaption(field) == Joined(lines); }, 5000))
            << "the field holds '" << Narrow(WindowCaption(field)) << "'";
    }

    // Opens another recipe of the list and this one again, so the program reads it anew from its file.
    void ReopenRecipe(const std::wstring& caption)
    {
        auto items = ListItems();
        auto other = std::find_if(items.begin(), items.end(), [&](const std::wstring& c) { return c != caption; });
        ASSERT_NE(other, items.end()) << "the category needs a second recipe";
        OpenRecipe(*other);
        OpenRecipe(caption);
    }
};

TEST_F(RecipeDialogsTest, EveryWindowOfTheNewRecipeDialogAndItsDroppedListAnswersAsSkinned)
{
    StartNotebook();
    ClickToolButton(L"Новый");
    HWND dialog = WaitForProgramWindow(L"TNewForm", L"Новый рецепт");
    ASSERT_NE(dialog, nullptr) << "no new-recipe dialog";
    Bot().WaitIdle(dialog);
    const auto windows = VisibleWindowsOf(dialog);
    EXPECT_GE(windows.size(), 14u);
    for (HWND wnd : windows)
        EXPECT_TRUE(AnswersSkinned(wnd)) << Narrow(WindowClass(wnd)) << " '" << Narrow(WindowCaption(wnd))
                                         << "' keeps the standard look";
    auto boxes = FindChildWindows(dialog, L"TComboBox");
    ASSERT_EQ(boxes.size(), 2u);
    HWND categoryBox = IsWindowEnabled(boxes[0]) ? boxes[0] : boxes[1];

    HWND list = DropDownList(categoryBox);
    ASSERT_NE(list, nullptr) << "the category list does not drop down";
    Bot().WaitIdle(list);
    EXPECT_TRUE(AnswersSkinned(list)) << "the dropped-down list keeps the standard look";
    const auto standard = StandardLookColours();
    EXPECT_EQ(PixelsOfColours(Shot(list, L"dropped-list"), standard), 0) << "the list shows the system's colours";
    EXPECT_EQ(PixelsOfColours(Shot(categoryBox, L"dropped-box"), standard), 0) << "the box shows the system's colours";
    Bot().PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForWindowGone(list, 5000));
}

TEST_F(RecipeDialogsTest, ARecipeWrittenInTheDialogIsSavedInItsCategoryWithThePhotoUnderItsName)
{
    const auto categories = PlainCategories();
    ASSERT_GE(categories.size(), 2u) << "the sample base needs two categories with recipes";
    // Not the current category: the recipe must land where the dialog says, not where the window is.
    const std::wstring category = categories[1];
    const std::wstring source = PathOf(L"Снимки\\Пирог на столе.jpg");
    ASSERT_TRUE(CreateDirectoryW(PathOf(L"Снимки").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(SampleJpeg().c_str(), source.c_str(), TRUE)) << "the sample base has no photo";
    ASSERT_FALSE(FileExists(RecipePath(category, Pie::kName)));
    StartNotebook();

    ClickToolButton(L"Новый");
    HWND dialog = WaitForProgramWindow(L"TNewForm", L"Новый рецепт");
    ASSERT_NE(dialog, nullptr) << "no new-recipe dialog";
    // At first only the category box of the two boxes is open for input.
    auto boxes = FindChildWindows(dialog, L"TComboBox");
    ASSERT_EQ(boxes.size(), 2u);
    auto open = std::partition(boxes.begin(), boxes.end(), [](HWND b) { return IsWindowEnabled(b) != FALSE; });
    ASSERT_EQ(open - boxes.begin(), 1) << "only the category box is enabled at first";
    HWND categoryBox = boxes[0];
    HWND ratingBox = boxes[1];
    EXPECT_EQ(WindowCaption(categoryBox), L"Выберите категорию из этого списка");
    auto edits = InReadingOrder(FindChildWindows(dialog, L"TEdit"));
    auto memos = InReadingOrder(FindChildWindows(dialog, L"TMemo"));
    ASSERT_EQ(edits.size(), 4u) << "name, portions, author and photo fields";
    ASSERT_EQ(memos.size(), 2u) << "products and method fields";
    HWND name = edits[0], portions = edits[1], author = edits[2], photo = edits[3];
    EXPECT_FALSE(IsWindowEnabled(name));
    Shot(dialog, L"empty");

    ChooseComboItem(categoryBox, category);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(name) && IsWindowEnabled(memos[1]) && IsWindowEnabled(author); }))
        << "choosing a category opens the fields";
    TypeInto(name, {Pie::kName});
    TypeInto(portions, {Pie::kPortions});
    ChooseComboItem(ratingBox, Pie::kRating);
    TypeInto(memos[0], Pie::Products());
    TypeInto(memos[1], Pie::Method());
    TypeInto(author, {Pie::kAuthor});
    ASSERT_TRUE(IsWindowVisible(dialog)) << "Return in a text field must not close the dialog";

    Bot().ClickCentre(ButtonOf(dialog, L"Обзор..."));
    ASSERT_TRUE(ChooseFileInOpenDialog(Bot(), ProcessId(), source, 10000,
                                       [&](HWND picker) {
                                           Shot(picker, L"open-picture");
                                           // The system's own dialog speaks the users' language.
                                           EXPECT_EQ(WindowCaption(picker), L"Открыть");
                                           EXPECT_NE(FindChildWindow(picker, L"Button", L"Отмена"), nullptr);
                                       }))
        << "the open-picture dialog was not filled in";
    ASSERT_TRUE(WaitUntil([&] { return WindowCaption(photo) == L"Пирог на столе.jpg"; }))
        << "the photo field shows '" << Narrow(WindowCaption(photo)) << "'";
    EXPECT_EQ(WindowCaption(name), Pie::kName) << "the name check leaves a new name alone";
    Shot(dialog, L"filled-in");

    Bot().ClickCentre(ButtonOf(dialog, L"ОК"));
    ASSERT_TRUE(WaitForWindowGone(dialog)) << "the dialog stays open";

    const std::wstring file = RecipePath(category, Pie::kName);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(file); })) << Narrow(file);
    const auto lines = RecipeLines(file);
    EXPECT_EQ(lines, Pie::Lines(Pie::kRating)) << LinesText(lines);
    ASSERT_TRUE(FileExists(PhotoPath(category, Pie::kName))) << "the photo is copied under the recipe's name";
    EXPECT_EQ(testsupport::ReadFileBytes(PhotoPath(category, Pie::kName)), testsupport::ReadFileBytes(source));
    EXPECT_FALSE(FileExists(CategoryPath(category) + L"\\Пирог на столе.jpg")) << "not under its own name";
    EXPECT_TRUE(FileExists(source)) << "the chosen photo stays where it was";
    for (const auto& other : CategoriesOnDisk()) {
        if (other != category) {
            EXPECT_FALSE(FileExists(RecipePath(other, Pie::kName))) << Narrow(other);
        }
    }

    // The program shows it there, with its photo and its stars.
    OpenCategory(category);
    OpenRecipe(Pie::kName);
    EXPECT_TRUE(WaitUntil([&] { return ToolButton(L"Фото...").visible; })) << "the recipe has a photo";
    EXPECT_EQ(StatusPanelText(StatusBar(), 0), Pie::kRating);
    EXPECT_EQ(StarsSeen(), 3);
    Shot(MainWindow(), L"added");

    // The photo window shows the copied picture at its own size.
    ClickToolButton(L"Фото...");
    HWND photoWindow = WaitForProgramWindow(L"TFotoForm", L"Фотография");
    ASSERT_NE(photoWindow, nullptr) << "no photo window";
    const SIZE picture = JpegSize(source);
    ASSERT_GT(picture.cx, 0);
    RECT client{};
    GetClientRect(photoWindow, &client);
    EXPECT_EQ(client.right, picture.cx);
    EXPECT_EQ(client.bottom, picture.cy);
    Shot(photoWindow, L"photo");
    Bot().PressShortcut({VK_MENU, VK_F4});
    EXPECT_TRUE(WaitForWindowGone(photoWindow)) << "Alt+F4 closes the photo window";
}

TEST_F(RecipeDialogsTest, ADamagedPhotoIsReportedAndLeavesNoPhotoWindowBehind)
{
    const std::wstring category = PlainCategories().front();
    PlantPie(category, false);
    testsupport::WriteFileBytes(PhotoPath(category, Pie::kName), "not a jpeg");
    StartNotebook();
    OpenCategory(category);
    OpenRecipe(Pie::kName);
    ASSERT_TRUE(WaitUntil([&] { return ToolButton(L"Фото...").visible; }));

    ClickToolButton(L"Фото...");
    HWND box = WaitForTopWindow({ProcessId(), L"#32770", {}, true});
    ASSERT_NE(box, nullptr) << "the damaged photo is not reported";
    Shot(box, L"jpeg-error");
    Bot().PressKey(VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(box));
    EXPECT_TRUE(FindTopWindows({ProcessId(), L"TFotoForm", {}, true}).empty()) << "an empty photo window stays";
    // The program goes on: the list answers again.
    ReopenRecipe(Pie::kName);
    EXPECT_EQ(ViewFirstLine(), Pie::kName);
}

TEST_F(RecipeDialogsTest, ANameTakenInTheCategoryIsReplacedByTheMessageWhenTheNameFieldIsLeft)
{
    const auto categories = PlainCategories();
    ASSERT_FALSE(categories.empty());
    const std::wstring category = categories.front();
    const std::wstring taken = RecipesOnDisk(category).front();
    const auto before = RecipesOnDisk(category);
    StartNotebook();
    HWND dialog = NewRecipeIn(category);
    ASSERT_NE(dialog, nullptr);
    auto edits = InReadingOrder(FindChildWindows(dialog, L"TEdit"));
    ASSERT_EQ(edits.size(), 4u);
    TypeInto(edits[0], {taken});
    Bot().PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return WindowCaption(edits[0]) == L"Рецепт с таким названием уже существует"; }))
        << "the name field holds '" << Narrow(WindowCaption(edits[0])) << "'";
    Shot(dialog, L"name-taken");
    Bot().PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowGone(dialog)) << "Escape cancels the dialog";
    EXPECT_EQ(RecipesOnDisk(category), before);
}

TEST_F(RecipeDialogsTest, OKWithoutANameSaysWhyAndTheDialogKeepsItsCategoryAndTakesTheNameAgain)
{
    const std::wstring category = PlainCategories().front();
    StartNotebook();
    HWND categoryBox = nullptr;
    HWND dialog = NewRecipeIn(category, &categoryBox);
    ASSERT_NE(dialog, nullptr);
    HWND name = InReadingOrder(FindChildWindows(dialog, L"TEdit")).front();
    Bot().ClickCentre(ButtonOf(dialog, L"ОК"));
    ASSERT_TRUE(AnswerMessage(L"OK", L"no-name")) << "OK without a name is refused in silence";
    EXPECT_EQ(WindowCaption(categoryBox), category) << "the chosen category stays";
    EXPECT_TRUE(WaitUntil([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus == name;
    })) << "the name field does not have the focus";
    Bot().TypeText(Pie::kName);
    Bot().ClickCentre(ButtonOf(dialog, L"ОК"));
    ASSERT_TRUE(WaitForWindowGone(dialog)) << "the dialog stays open";
    EXPECT_TRUE(WaitUntil([&] { return FileExists(RecipePath(category, Pie::kName)); }));
}

TEST_F(RecipeDialogsTest, TheRatingDialogWritesTheChosenDigitIntoLineOneAndTheStarsFollowOnReopening)
{
    const auto categories = PlainCategories();
    ASSERT_FALSE(categories.empty());
    const std::wstring category = categories.front();
    PlantPie(category, false);
    const std::wstring file = RecipePath(category, Pie::kName);
    StartNotebook();
    OpenCategory(category);
    OpenRecipe(Pie::kName);
    EXPECT_EQ(StarsSeen(), 3);

    ChooseMenu(kMenuEdit, kItemRating);
    HWND dialog = WaitForProgramWindow(L"TRatingForm", L"Оценить");
    ASSERT_NE(dialog, nullptr) << "no rating dialog";
    HWND track = FindChildWindow(dialog, L"TTrackBar");
    ASSERT_NE(track, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(track) != FALSE; })) << "a recipe is selected";
    EXPECT_EQ(TrackBarPosition(track), 1) << "the dialog starts at one star whatever the rating";
    Shot(dialog, L"one-star");

    // A click on the thumb takes the focus without moving it; the arrow keys move it a step each.
    Bot().Click(track, Centre(TrackBarThumbRect(track)));
    ASSERT_EQ(TrackBarPosition(track), 1);
    for (int i = 0; i < 3; ++i)
        Bot().PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return TrackBarPosition(track) == 4; })) << TrackBarPosition(track);
    Shot(dialog, L"four-stars");
    Bot().ClickCentre(ButtonOf(dialog, L"OK"));
    ASSERT_TRUE(WaitForWindowGone(dialog)) << "the dialog stays open";

    auto expected = Pie::Lines(L"4");
    ASSERT_TRUE(WaitUntil([&] { return RecipeLines(file) == expected; }))
        << "the file holds" << LinesText(RecipeLines(file));

    ReopenRecipe(Pie::kName);
    EXPECT_EQ(StatusPanelText(StatusBar(), 0), L"4");
    EXPECT_EQ(StarsSeen(), 4);
    Shot(MainWindow(), L"rated");
}

TEST_F(RecipeDialogsTest, TheMoveDialogTakesTheRecipeAndItsPhotoToTheChosenCategory)
{
    const auto categories = PlainCategories();
    ASSERT_GE(categories.size(), 2u);
    const std::wstring from = categories[1];
    const std::wstring to = categories[0];
    PlantPie(from, true);
    const std::string recipeBytes = testsupport::ReadFileBytes(RecipePath(from, Pie::kName));
    const std::string photoBytes = testsupport::ReadFileBytes(PhotoPath(from, Pie::kName));
    StartNotebook();
    OpenCategory(from);
    OpenRecipe(Pie::kName);

    ChooseMenu(kMenuEdit, kItemMove);
    HWND dialog = WaitForProgramWindow(L"TRemoveForm", L"Перемещение рецепта");
    ASSERT_NE(dialog, nullptr) << "no move dialog";
    HWND list = FindChildWindow(dialog, L"TListBox");
    ASSERT_NE(list, nullptr);
    HWND ok = ButtonOf(dialog, L"ОК");
    ASSERT_NE(ok, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ListBoxItems(list) == CategoriesOnDisk(); }))
        << "the dialog lists every category";
    EXPECT_FALSE(IsWindowEnabled(ok)) << "no category chosen yet";

    auto items = ListBoxItems(list);
    const int target = static_cast<int>(std::find(items.begin(), items.end(), to) - items.begin());
    Bot().Click(list, Centre(ListBoxItemRect(list, target)));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; })) << "choosing a category enables OK";
    Shot(dialog, L"chosen");
    Bot().ClickCentre(ok);
    ASSERT_TRUE(WaitForWindowGone(dialog)) << "the dialog stays open";

    EXPECT_TRUE(WaitUntil([&] { return !FileExists(RecipePath(from, Pie::kName)); })) << "the recipe leaves";
    EXPECT_FALSE(FileExists(PhotoPath(from, Pie::kName))) << "the photo leaves";
    EXPECT_EQ(testsupport::ReadFileBytes(RecipePath(to, Pie::kName)), recipeBytes);
    EXPECT_EQ(testsupport::ReadFileBytes(PhotoPath(to, Pie::kName)), photoBytes);
    EXPECT_TRUE(WaitUntil([&] { return ListItems() == RecipesOnDisk(from); })) << "the list is refilled";

    OpenCategory(to);
    OpenRecipe(Pie::kName);
    EXPECT_TRUE(WaitUntil([&] { return ToolButton(L"Фото...").visible; })) << "the photo came along";
    Shot(MainWindow(), L"moved");
}

TEST_F(RecipeDialogsTest, TheSearchFindsAWordOfTheRecipeAndItsHitOpensInTheMainWindow)
{
    const auto categories = PlainCategories();
    ASSERT_GE(categories.size(), 2u);
    const std::wstring category = categories[1];
    PlantPie(category, false);
    StartNotebook();
    // The window stays on the first category; the hit comes from another one.
    const int tab = CurrentTab(Tabs());
    const int selected = SelectedListItem(List());
    ASSERT_NE(ViewFirstLine(), Pie::kName);

    ClickToolButton(L"Найти");
    HWND dialog = WaitForProgramWindow(L"TSearchForm", L"Поиск");
    ASSERT_NE(dialog, nullptr) << "no search dialog";
    HWND field = FindChildWindow(dialog, L"TEdit");
    HWND hits = FindChildWindow(dialog, L"TListView");
    ASSERT_NE(field, nullptr);
    ASSERT_NE(hits, nullptr);
    // The word stands capitalised in the recipe; the search ignores case.
    TypeInto(field, {Pie::kSearchWord});
    // Return presses the dialog's default button, "Найти".
    Bot().PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !ListCaptions(hits).empty(); })) << "nothing found";
    EXPECT_EQ(ListCaptions(hits), std::vector<std::wstring>{Pie::kName});
    Shot(dialog, L"hits");

    RECT item = ListItemRect(hits, 0);
    Bot().Click(hits, Centre(item));
    ASSERT_TRUE(WaitUntil([&] { return ViewFirstLine() == Pie::kName; }))
        << "the view shows '" << Narrow(ViewFirstLine()) << "'";
    EXPECT_NE(ViewText().find(Pie::Products().front()), std::wstring::npos) << "the view shows the recipe's text";
    EXPECT_EQ(CurrentTab(Tabs()), tab) << "the tabs stay as they were";
    EXPECT_EQ(SelectedListItem(List()), selected) << "the list stays as it was";

    Bot().ClickCentre(ButtonOf(dialog, L"Закрыть"));
    ASSERT_TRUE(WaitForWindowGone(dialog)) << "the dialog stays open";
    // Back in the main window its first recipe is selected already, so the hit stays in the view.
    ASSERT_EQ(selected, 0);
    Bot().WaitIdle(MainWindow());
    EXPECT_EQ(ViewFirstLine(), Pie::kName);
    Shot(MainWindow(), L"hit-shown");

    // An edit of the shown hit never lands in the file of the recipe selected in the list.
    const std::wstring selectedFile = RecipePath(TabCaptions(Tabs())[tab], ListItems()[selected]);
    const std::string before = testsupport::ReadFileBytes(selectedFile);
    Bot().ClickCentre(View());
    Bot().PressShortcut({VK_CONTROL, VK_END});
    Bot().TypeText(L" ещё ложку мёда");
    ASSERT_TRUE(WaitUntil([&] { return ViewText().find(L"ещё ложку мёда") != std::wstring::npos; }));
    Bot().PressShortcut({VK_CONTROL, 'S'});
    EXPECT_EQ(testsupport::ReadFileBytes(selectedFile), before);
    EXPECT_EQ(RecipeLines(RecipePath(category, Pie::kName)), Pie::Lines(Pie::kRating));
}

TEST_F(RecipeDialogsTest, TheAboutDialogOpensFromTheToolBarAndItsOKClosesIt)
{
    StartNotebook();
    ClickToolButton(L"О прог...");
    HWND dialog = WaitForProgramWindow(L"TAboutForm", L"О программе");
    ASSERT_NE(dialog, nullptr) << "no about dialog";
    auto shot = Shot(dialog, L"shown");
    EXPECT_GT(CountColours(shot), 8u) << "the dialog is painted";
    // The picture at the dialog's top left shows the program's icon: its green cover and cream page.
    POINT client{0, 0};
    ClientToScreen(dialog, &client);
    RECT window{};
    GetWindowRect(dialog, &window);
    const int left = client.x - window.left + 12, top = client.y - window.top + 12;
    int cover = 0, page = 0;
    for (int y = top; y < top + 64 && y < shot.height; ++y)
        for (int x = left; x < left + 64 && x < shot.width; ++x) {
            const COLORREF c = shot.At(x, y);
            cover += c == RGB(0x2f, 0x6b, 0x3a);
            page += c == RGB(0xfb, 0xf3, 0xdc);
        }
    EXPECT_GT(cover, 200) << "no icon in the about picture";
    EXPECT_GT(page, 400) << "no icon in the about picture";
    Bot().ClickCentre(ButtonOf(dialog, L"OK"));
    EXPECT_TRUE(WaitForWindowGone(dialog)) << "the dialog stays open";
    EXPECT_TRUE(Running());
}

} // namespace
