// Components: ownership, destruction order, notification, and the form-data format and reader.
#include "framework/Classes.h"
#include "framework/FormData.h"

#include "tests/support/test_support.h"

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> gLog;

class TLogged : public TComponent {
    DECLARE_CLASS_NAME(TLogged)
public:
    explicit TLogged(TComponent* owner) : TComponent(owner) {}
    ~TLogged() override { gLog.push_back(L"destroy " + Name() + (HasState(csDestroying) ? L" destroying" : L"")); }
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        gLog.push_back(Name() + (operation == TOperation::opInsert ? L" +" : L" -") + component->Name());
        if (operation == TOperation::opRemove && component == Buddy)
            Buddy = nullptr;
    }
    void Loaded() override
    {
        TComponent::Loaded();
        gLog.push_back(L"loaded " + Name() + (HasState(csReading) ? L" reading" : L""));
    }
    void SetParentComponent(TComponent* parent) override { ParentName = parent ? parent->Name() : L""; }

    void SetCount(int v) { Count = v; gLog.push_back(L"Count " + Name()); }
    void SetTitle(const std::wstring& v) { Title = v; gLog.push_back(L"Title " + Name() + (HasState(csLoading) && HasState(csReading) ? L" loading" : L"")); }
    void SetBuddy(TLogged* v) { Buddy = v; }
    void SetData(const std::vector<std::uint8_t>& v) { Data = v; }
    TStringList* Lines() const { return lines_.get(); }

    int Count = 0;
    std::wstring Title;
    std::wstring ParentName;
    TLogged* Buddy = nullptr;
    std::vector<std::uint8_t> Data;
    TNotifyEvent OnPing;

private:
    std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
};

class TLogRoot : public TLogged, public IFormBindingsSource {
    DECLARE_CLASS_NAME(TLogRoot)
public:
    TLogRoot() : TLogged(nullptr) {}
    void DeclareBindings(TFormBindings& b) override
    {
        b.Handler(L"RootPing", this, &TLogRoot::RootPing);
        b.Handler(L"WrongKind", this, &TLogRoot::WrongKind);
        b.Field(L"Second", &Second);
    }
    void RootPing(TObject* sender) { Pings.push_back(static_cast<TComponent*>(sender)->Name()); }
    void WrongKind(int) {}
    std::vector<std::wstring> Pings;
    TLogged* Second = nullptr;
};

void RegisterTestClasses()
{
    RegisterClass<TComponent>(L"TComponent", L"");
    RegisterClass<TLogged>(L"TLogged", L"TComponent")
        .Int(L"Count", &TLogged::SetCount)
        .String(L"Title", &TLogged::SetTitle)
        .Reference(L"Buddy", &TLogged::SetBuddy)
        .Binary(L"Data", &TLogged::SetData)
        .Object(L"Lines", &TLogged::Lines)
        .Event(L"OnPing", &TLogged::OnPing);
}

class Components : public ::testing::Test {
protected:
    void SetUp() override
    {
        gLog.clear();
        RegisterTestClasses();
    }
};

TEST_F(Components, OwnedComponentsGoLastCreatedFirstAndSiblingsHearOfEachOther)
{
    auto* root = Create<TLogged>(nullptr);
    root->SetName(L"Root");
    auto* a = Create<TLogged>(root);
    a->SetName(L"A");
    auto* b = Create<TLogged>(root);
    b->SetName(L"B");
    auto* c = Create<TLogged>(root);
    c->SetName(L"C");
    EXPECT_EQ(root->ComponentCount(), 3);
    EXPECT_EQ(root->FindComponent(L"b"), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_THROW(c->SetName(L"A"), EComponentError);
    EXPECT_THROW(c->SetName(L"1x"), EComponentError);

    gLog.clear();
    Free(root);
    std::vector<std::wstring> expected = {
        L"destroy Root destroying",
        L"destroy C destroying", L"A -C", L"B -C",
        L"destroy B destroying", L"A -B",
        L"destroy A destroying",
    };
    // The root's own destructor body runs first; its owned components follow, last created first, and
    // the remaining siblings are told of each removal (the owner too, but it is no longer a TLogged).
    EXPECT_EQ(gLog, expected);
}

TEST_F(Components, FreeNotificationReachesComponentsOfOtherOwners)
{
    TOwned<TLogged> first(Create<TLogged>(nullptr));
    TOwned<TLogged> second(Create<TLogged>(nullptr));
    first->SetName(L"First");
    second->SetName(L"Second");
    first->Buddy = second.get();
    first->FreeNotification(second.get());
    second.reset();
    EXPECT_EQ(first->Buddy, nullptr);
}

TEST_F(Components, InsertingTellsTheOwnerAndEveryExistingSibling)
{
    TOwned<TLogged> root(Create<TLogged>(nullptr));
    root->SetName(L"Root");
    auto* a = Create<TLogged>(root.get());
    a->SetName(L"A");
    gLog.clear();
    auto* b = new TLogged(nullptr);
    b->SetName(L"B");
    root->InsertComponent(b);
    std::vector<std::wstring> expected = {L"Root +B", L"A +B"};
    EXPECT_EQ(gLog, expected);
}

TEST_F(Components, EventsCompareByObjectAndMethod)
{
    TOwned<TLogRoot> one(Create<TLogRoot>());
    TOwned<TLogRoot> two(Create<TLogRoot>());
    TNotifyEvent a(one.get(), &TLogRoot::RootPing);
    TNotifyEvent same(one.get(), &TLogRoot::RootPing);
    TNotifyEvent other(two.get(), &TLogRoot::RootPing);
    EXPECT_TRUE(a == same);
    EXPECT_FALSE(a == other);
    EXPECT_FALSE(a == TNotifyEvent());
    a(one.get());
    EXPECT_EQ(one->Pings.size(), 1u);
    int calls = 0;
    TNotifyEvent lambda([&](TObject*) { ++calls; });
    lambda(nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(lambda == TNotifyEvent());
}

const char* kDemo = R"(// a comment line
object Root: TLogRoot
  Count = 1
  Title = 'Корень' +
    ' и ''кавычки'''#33
  object First: TLogged
    Buddy = Second
    Title = 'first'
    Lines = ('один' 'два')
    object Inner: TLogged
      Count = $10
      OnPing = RootPing
    end
  end
  object Second: TLogged
    Data = {0A ff
            10}
    Buddy = Root
  end
end
)";

TEST_F(Components, ReaderCreatesInDataOrderAndRunsLoadedAfterAllReferencesAreFixed)
{
    TOwned<TLogRoot> root(Create<TLogRoot>());
    TFormReader reader(root.get(), L"demo.form");
    gLog.clear();
    reader.Read(ParseFormData(kDemo, L"demo.form"));

    EXPECT_EQ(root->Title, L"Корень и 'кавычки'!");
    ASSERT_EQ(root->ComponentCount(), 3);
    auto* first = dynamic_cast<TLogged*>(root->Components(0));
    auto* inner = dynamic_cast<TLogged*>(root->Components(1));
    auto* second = dynamic_cast<TLogged*>(root->Components(2));
    ASSERT_TRUE(first && inner && second);
    EXPECT_EQ(inner->Name(), L"Inner");
    EXPECT_EQ(inner->ParentName, L"First");
    EXPECT_EQ(inner->Count, 16);
    EXPECT_EQ(first->Buddy, second) << "forward reference";
    EXPECT_EQ(second->Buddy, root.get());
    EXPECT_EQ(first->Lines()->Text(), L"один\r\nдва\r\n");
    EXPECT_EQ(second->Data, (std::vector<std::uint8_t>{0x0A, 0xFF, 0x10}));
    EXPECT_EQ(root->Second, second);
    inner->OnPing(inner);
    EXPECT_EQ(root->Pings, std::vector<std::wstring>{L"Inner"});
    EXPECT_FALSE(root->HasState(csLoading));
    EXPECT_FALSE(inner->HasState(csLoading));

    // Components are created (the owner and its components hear of each, still unnamed) and their
    // properties set in data order while loading; Loaded runs for the root first, then in the order in which
    // the components' reading finished (a child before its parent), none of them still reading.
    std::vector<std::wstring> expected = {
        L"Count Root", L"Title Root loading", L"Root +", L"Title First loading", L"Root +",
        L"First +", L"Count Inner", L"Root +", L"First +", L"Inner +",
        L"loaded Root", L"loaded Inner", L"loaded First", L"loaded Second",
    };
    EXPECT_EQ(gLog, expected);
}

std::wstring ReadError(const char* text)
{
    TOwned<TLogRoot> root(Create<TLogRoot>());
    try {
        TFormReader(root.get(), L"bad.form").Read(ParseFormData(text, L"bad.form"));
    } catch (const EReadError& e) {
        return e.Message();
    }
    return L"no error";
}

TEST_F(Components, ErrorsNameTheFileAndTheLine)
{
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  object X: TNoSuch\n  end\nend"), L"bad.form(2): Class TNoSuch not found");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n\n  Colour = 1\nend"),
              L"bad.form(3): Property TLogRoot.Colour does not exist");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  OnPing = Missing\nend"), L"bad.form(2): Handler Missing not found");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  OnPing = WrongKind\nend"),
              L"bad.form(2): Handler WrongKind has the wrong parameters");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  Buddy = Nobody\nend"), L"bad.form(2): Component Nobody not found");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  Count = 'x'\nend"), L"bad.form(2): Integer expected, found 'x'");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  Title = 'open\nend"), L"bad.form(2): Unterminated string");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  Count = 1\n"), L"bad.form(3): 'end' expected for object Root");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  Data = {0A1}\nend"), L"bad.form(2): Odd number of digits in binary data");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  object Second: TLogRoot\n  end\nend"),
              L"bad.form(2): Class TLogRoot not found");
    EXPECT_EQ(ReadError("object Root: TLogged\nend"), L"bad.form(1): The data is for TLogged, not TLogRoot");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  object Second: TLogRoot\n"), L"bad.form(3): 'end' expected for object Second");
}

TEST_F(Components, FieldOfAnotherClassIsAnError)
{
    RegisterClass<TLogRoot>(L"TLogRootChild", L"TLogged");
    EXPECT_EQ(ReadError("object Root: TLogRoot\n  object Second: TComponent\n  end\nend"),
              L"bad.form(2): Field Second does not hold a TComponent");
}

} // namespace
