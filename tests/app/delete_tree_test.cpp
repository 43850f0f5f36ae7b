// Deleting a category's folder tree: nested folders, entries that cannot be deleted, and links that
// must be removed as links, never followed.
#include "tests/app/store_fixture.h"

#include "framework/SysUtils.h"

using namespace apptest;

namespace {

std::vector<std::wstring> EntriesOf(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

bool IsLink(const std::wstring& path)
{
    const DWORD attr = GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

using testsupport::RunHostShell;

std::wstring HostName(const std::wstring& path)
{
    return L"\"" + testsupport::Widen(testsupport::HostPath(ExtractFileDir(path))) + L"/" + ExtractFileName(path) + L"\"";
}

// Makes link name the target, as a symbolic link (to a folder when directory is set). Windows makes it
// itself; where its call does nothing, a host symbolic link is made instead. False when neither works.
bool MakeLink(const std::wstring& link, const std::wstring& target, bool directory)
{
    const DWORD flags = (directory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | 0x2 /* unprivileged create */;
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(), flags) && Exists(link))
        return true;
    return RunHostShell(L"ln -s " + HostName(target) + L" " + HostName(link), ExtractFileDir(link)) && Exists(link);
}

// Removes a link made by MakeLink without touching its target, whatever the platform does with links.
void RemoveLinkForCleanUp(const std::wstring& link)
{
    if (RunHostShell(L"rm -f " + HostName(link), ExtractFileDir(ExtractFileDir(link))))
        return;
    const DWORD attr = GetFileAttributesW(link.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY))
        RemoveDirectoryW(link.c_str());
    else if (attr != INVALID_FILE_ATTRIBUTES)
        DeleteFileW(link.c_str());
}

// Whether this system can open a link to a folder as the link itself (so that it can be deleted
// alone); where it cannot, the tree's deletion must stop at the link instead.
bool LinksOpenAsThemselves(const std::wstring& link)
{
    HANDLE handle = CreateFileW(link.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    const bool ok = GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof(tag)) &&
                    (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    CloseHandle(handle);
    return ok;
}

class DeleteTreeTest : public StoreTest {
protected:
    void TearDown() override
    {
        for (const std::wstring& link : links_)
            RemoveLinkForCleanUp(link);
        for (const std::wstring& file : readOnly_)
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        StoreTest::TearDown();
    }

    bool Link(const std::wstring& link, const std::wstring& target, bool directory)
    {
        links_.push_back(link);
        return MakeLink(link, target, directory);
    }
    void MakeReadOnly(const std::wstring& file)
    {
        readOnly_.push_back(file);
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    }

private:
    std::vector<std::wstring> links_;
    std::vector<std::wstring> readOnly_;
};

} // namespace

TEST_F(DeleteTreeTest, RemovesNestedFoldersAndEndsInTheParentFolder)
{
    MakeCategory(L"Супы");
    WriteText(InCategory(L"Супы", L"Борщ.rcp"), "x");
    WriteText(InCategory(L"Супы", L"старое\\глубже\\Щи.rcp"), "x");
    WriteText(InCategory(L"Супы", L"старое\\Уха.jpg"), "x");
    const std::wstring hidden = InCategory(L"Супы", L"скрытый.txt");
    WriteText(hidden, "x");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_TRUE(store->DeleteTree(Bases() + L"\\Супы"));
    EXPECT_FALSE(Exists(Bases() + L"\\Супы"));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ExcludeTrailingPathDelimiter(GetCurrentDir()), ExcludeTrailingPathDelimiter(ExpandFileName(Bases())));
}

TEST_F(DeleteTreeTest, AFolderThatCannotBeEnteredIsReported)
{
    const std::wstring path = Bases() + L"\\Нет";
    EXPECT_FALSE(store->DeleteTree(path));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Не могу войти в каталог: " + path);
}

TEST_F(DeleteTreeTest, StopsAtAReadOnlyFileReportsItAndKeepsWhatFollows)
{
    MakeCategory(L"Супы");
    for (const wchar_t* name : {L"a.rcp", L"b.rcp", L"c.rcp", L"d.rcp"})
        WriteText(InCategory(L"Супы", name), "x");
    MakeReadOnly(InCategory(L"Супы", L"c.rcp"));
    const std::vector<std::wstring> order = EntriesOf(Bases() + L"\\Супы");
    const size_t stop = std::find(order.begin(), order.end(), L"c.rcp") - order.begin();
    ASSERT_LT(stop, order.size());

    EXPECT_FALSE(store->DeleteTree(Bases() + L"\\Супы"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Не могу удалить файл: c.rcp");
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(Exists(InCategory(L"Супы", order[i])), i >= stop) << Utf8(order[i]);
}

TEST_F(DeleteTreeTest, AReadOnlyFileInASubfolderStopsEveryLevel)
{
    MakeCategory(L"Супы");
    WriteText(InCategory(L"Супы", L"глубже\\Щи.rcp"), "x");
    MakeReadOnly(InCategory(L"Супы", L"глубже\\Щи.rcp"));
    EXPECT_FALSE(store->DeleteTree(Bases() + L"\\Супы"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, L"Не могу удалить файл: Щи.rcp");
    EXPECT_TRUE(Exists(InCategory(L"Супы", L"глубже\\Щи.rcp")));
}

TEST_F(DeleteTreeTest, ALinkedFolderInsideIsNeverEntered)
{
    MakeCategory(L"Soups");
    WriteText(PathOf(L"Outside\\keep.rcp"), "keep");
    WriteText(InCategory(L"Soups", L"borsch.rcp"), "x");
    const std::wstring link = InCategory(L"Soups", L"link");
    if (!Link(link, PathOf(L"Outside"), true) || !IsLink(link))
        GTEST_SKIP() << "this system makes no folder links here";

    const bool removed = store->DeleteTree(Bases() + L"\\Soups");
    EXPECT_EQ(testsupport::ReadFileBytes(PathOf(L"Outside\\keep.rcp")), "keep");
    if (LinksOpenAsThemselves(link)) {
        EXPECT_TRUE(removed);
        EXPECT_FALSE(Exists(Bases() + L"\\Soups"));
    } else {
        // The link cannot be removed alone here: the deletion stops at it and says so.
        EXPECT_FALSE(removed);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, L"Не могу удалить файл: link");
        EXPECT_TRUE(IsLink(link));
    }
}

TEST_F(DeleteTreeTest, ALinkToAnEmptyFolderLeavesThatFolder)
{
    MakeCategory(L"Soups");
    ASSERT_TRUE(CreateDir(PathOf(L"Empty")));
    const std::wstring link = InCategory(L"Soups", L"link");
    if (!Link(link, PathOf(L"Empty"), true) || !IsLink(link))
        GTEST_SKIP() << "this system makes no folder links here";

    store->DeleteTree(Bases() + L"\\Soups");
    EXPECT_TRUE(DirectoryExists(PathOf(L"Empty")));
}

TEST_F(DeleteTreeTest, ACategoryThatIsALinkGoesWithoutItsTarget)
{
    WriteText(PathOf(L"Outside\\keep.rcp"), "keep");
    const std::wstring link = Bases() + L"\\Link";
    if (!Link(link, PathOf(L"Outside"), true) || !IsLink(link))
        GTEST_SKIP() << "this system makes no folder links here";

    store->DeleteTree(link);
    EXPECT_EQ(testsupport::ReadFileBytes(PathOf(L"Outside\\keep.rcp")), "keep");
    if (LinksOpenAsThemselves(link)) {
        EXPECT_FALSE(Exists(link));
    }
}

TEST_F(DeleteTreeTest, ALinkedFileGoesAndItsTargetStays)
{
    MakeCategory(L"Soups");
    WriteText(PathOf(L"keep.rcp"), "keep");
    const std::wstring link = InCategory(L"Soups", L"link.rcp");
    if (!Link(link, PathOf(L"keep.rcp"), false))
        GTEST_SKIP() << "this system makes no file links here";
    // Where a link to a file lists as a plain file, nothing can tell it from one.
    if (!IsLink(link))
        GTEST_SKIP() << "this system shows links to files as plain files";

    EXPECT_TRUE(store->DeleteTree(Bases() + L"\\Soups"));
    EXPECT_FALSE(Exists(Bases() + L"\\Soups"));
    EXPECT_EQ(testsupport::ReadFileBytes(PathOf(L"keep.rcp")), "keep");
}
