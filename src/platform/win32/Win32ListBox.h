#pragma once
// The playlist box on Windows: a real LISTBOX inside a borderless frame
// window of its own. The frame answers the box's colour and notification
// messages, so the box does not depend on what its owner does with them.
// Switching between single and extended multi-selection recreates the box
// (its style cannot change after creation) and restores items, selection,
// focus and scroll position.
#include <windows.h>

#include "platform/ListBoxView.h"

namespace qel {

class Win32ListBox final : public ListBoxView {
public:
    Win32ListBox(HWND parent, const ViewRect& bounds, bool multiSelect);
    ~Win32ListBox() override;
    Win32ListBox(const Win32ListBox&) = delete;
    Win32ListBox& operator=(const Win32ListBox&) = delete;

    // Once no box is left, before the library goes.
    static void UnregisterFrameClass();

    HWND Frame() const { return frame_; }
    HWND Handle() const { return list_; }

    int32_t Count() const override;
    std::string Item(int32_t index) const override;
    void SetItem(int32_t index, const std::string& text) override;
    void SetItems(const std::vector<ItemText>& changes) override;
    void AddItems(const std::vector<std::string>& texts) override;
    void RemoveItems(const std::vector<int32_t>& ascending) override;
    void MoveItem(int32_t from, int32_t to) override;
    void Clear() override;
    int32_t ItemIndex() const override;
    int32_t TopIndex() const override;
    void SetItemIndex(int32_t index) override;
    std::vector<int32_t> SelectedItems() const override;
    bool MultiSelect() const override { return multi_; }
    void SetMultiSelect(bool on) override;
    void ApplyLook(const ListFont& font, int32_t background) override;
    ViewRect Bounds() const override { return bounds_; }
    void SetBounds(const ViewRect& bounds) override;
    void SetListener(ListBoxListener* listener) override { listener_ = listener; }

    // The colours the box is drawn with now.
    COLORREF TextColor() const { return text_; }
    COLORREF BackColor() const { return back_; }

private:
    enum class Notice : WPARAM { Click, DblClick, StartDrag, EndDrag, MouseUp };

    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnListMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Deliver(Notice notice, LPARAM detail);
    void Post(Notice notice, LPARAM detail = 0);

    // What replacing items puts back: selection, focus, scroll position.
    struct Selection {
        int32_t index;
        std::vector<int32_t> selected;
        LRESULT caret;
        LRESULT top;
    };
    Selection KeepSelection() const;
    void RestoreSelection(const Selection& kept);
    void Fill(const std::vector<std::string>& texts);  // appends, without a repaint

    void CreateList();
    bool Valid(int32_t index) const { return index >= 0 && index < Count(); }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(list_, msg, wp, lp); }
    void Redraw(bool on);

    HWND frame_ = nullptr;
    HWND list_ = nullptr;
    WNDPROC listDefault_ = nullptr;
    bool multi_;
    ViewRect bounds_;
    ListBoxListener* listener_ = nullptr;

    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    COLORREF text_;
    COLORREF back_;

    // Automatic drag: pressed on an item, then moved past the drag distance.
    bool pressed_ = false;
    bool dragging_ = false;
    POINT pressAt_{};
};

// A colour value as the system draws it; the special values and system
// colours resolve through the system's colour table, with fallback for
// "none" and "default".
COLORREF ColorRefOf(int32_t value, int fallbackSystemIndex);

}  // namespace qel
