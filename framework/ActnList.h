// Actions: commands with a caption, hint, image, shortcut and handler, kept in action lists and linked
// to the menu items and buttons that show them.
#pragma once

#include "framework/Controls.h"
#include "framework/ImgList.h"

#include <string>
#include <vector>

class TBasicAction;
class TCustomActionList;

// The client side of an action: a menu item or a button takes the action's properties through it.
class TActionLink {
public:
    explicit TActionLink(TObject* client) : client_(client) {}
    virtual ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* value);
    TObject* Client() const { return client_; }
    // Runs the action; False when it has no handler (the key or click is then not taken).
    bool Execute();

    virtual void SetCaption(const std::wstring& value) { (void)value; }
    virtual void SetHint(const std::wstring& value) { (void)value; }
    virtual void SetEnabled(bool value) { (void)value; }
    virtual void SetChecked(bool value) { (void)value; }
    virtual void SetVisible(bool value) { (void)value; }
    virtual void SetImageIndex(int value) { (void)value; }
    virtual void SetShortCut(TShortCut value) { (void)value; }

private:
    TObject* client_;             // not owned: the link's owner
    TBasicAction* action_ = nullptr; // not owned: the action drops its links when it goes
};

class TBasicAction : public TComponent {
    DECLARE_CLASS_NAME(TBasicAction)
public:
    explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
    ~TBasicAction() override;

    // Runs OnExecute (or the list's OnExecute); False when nobody handled it.
    virtual bool Execute();
    // Runs OnUpdate (or the list's); False when nobody handled it.
    virtual bool Update();
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    void RegisterLink(TActionLink* link);
    void UnregisterLink(TActionLink* link);

protected:
    template <class F>
    void ForEachLink(F f)
    {
        std::vector<TActionLink*> links = links_;
        for (TActionLink* link : links)
            f(link);
    }

private:
    std::vector<TActionLink*> links_; // not owned
};

class TCustomAction : public TBasicAction {
    DECLARE_CLASS_NAME(TCustomAction)
public:
    explicit TCustomAction(TComponent* owner) : TBasicAction(owner) {}
    ~TCustomAction() override;

    TCustomActionList* ActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* value);
    void SetParentComponent(TComponent* parent) override;
    int Index() const;

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& value);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    const std::wstring& Category() const { return category_; }
    void SetCategory(const std::wstring& value) { category_ = value; }

    bool Execute() override;
    bool Update() override;

private:
    friend class TCustomActionList;
    TCustomActionList* actionList_ = nullptr; // not owned: the list drops its actions when it goes
    std::wstring caption_;
    std::wstring hint_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    std::wstring category_;
};

class TAction : public TCustomAction {
    DECLARE_CLASS_NAME(TAction)
public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

using TActionEvent = TEvent<TBasicAction*, bool&>;

class TCustomActionList : public TComponent {
    DECLARE_CLASS_NAME(TCustomActionList)
public:
    explicit TCustomActionList(TComponent* owner) : TComponent(owner) {}
    ~TCustomActionList() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TCustomAction* Actions(int index) const;
    void AddAction(TCustomAction* action);
    void RemoveAction(TCustomAction* action);
    // The image list the actions' ImageIndex refers to (not owned).
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value) { images_ = value; }

    // Runs the enabled action with this shortcut; True only when a handler ran.
    bool IsShortCut(TShortCut shortCut);
    // Runs every action's update (from the application's idle work).
    void UpdateActions();

    TActionEvent OnExecute;
    TActionEvent OnUpdate;

private:
    std::vector<TCustomAction*> actions_; // not owned: actions are components of the form
    TCustomImageList* images_ = nullptr;  // not owned
};

class TActionList : public TCustomActionList {
    DECLARE_CLASS_NAME(TActionList)
public:
    explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};
