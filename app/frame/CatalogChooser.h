#pragma once
// The list under the catalogue that chooses what the container above it shows:
// "Folders" (the folder tree) or "Bookmarks" (the bookmark list). Each entry's item
// data is the window it shows. The chosen entry is kept in a settings section.
#include <string>

#include "app/frame/ControlContainer.h"
#include "controls/ListBox.h"

class CCatalogChooser;

class IQelControlChooserEvents {
public:
    virtual void OnControlChooserSelChanged(CCatalogChooser& chooser) = 0;

protected:
    ~IQelControlChooserEvents() = default;
};

class CCatalogChooser : public CQelControlChooser {
public:
    static constexpr DWORD kStyle =
        WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

    // The entry's index, -1 when it could not be added.
    int AddEntry(const wchar_t* text, HWND window, const wchar_t* iconFile = nullptr);
    void SetContainer(CQelControlContainer* container) { m_container = container; }
    void SetEvents(IQelControlChooserEvents* events) { m_events = events; }
    int GetCurrentEntry() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }

    // Shows the selected entry's window in the container.
    void ShowSelected();
    // ShowSelected, then the event.
    void ApplySelection();
    // An index outside the entries selects the first one. Returns the index selected.
    int SelectEntry(int index);
    // Selects the entry saved in the section, which the chooser writes again when destroyed.
    void RestoreState(const wchar_t* section);

    BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override;

protected:
    BOOL OnDestroyControl() override;

private:
    CQelControlContainer* m_container = nullptr;
    IQelControlChooserEvents* m_events = nullptr;
    std::wstring m_section;
};
