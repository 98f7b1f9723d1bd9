#pragma once
// A list box held in memory, for tests: the same selection rules as the real
// one, a record of the look applied, and user actions that call the listener
// as the real box does.
#include <vector>

#include "platform/ListBoxView.h"

namespace qel {

class MemoryListBox final : public ListBoxView {
public:
    int32_t Count() const override;
    std::string Item(int32_t index) const override;
    void SetItem(int32_t index, const std::string& text) override;
    void SetItems(const std::vector<ItemText>& changes) override;
    void AddItems(const std::vector<std::string>& texts) override;
    void RemoveItems(const std::vector<int32_t>& ascending) override;
    void MoveItem(int32_t from, int32_t to) override;
    void Clear() override;
    int32_t ItemIndex() const override;
    int32_t TopIndex() const override { return topIndex; }
    void SetItemIndex(int32_t index) override;
    std::vector<int32_t> SelectedItems() const override;
    bool MultiSelect() const override { return multi_; }
    void SetMultiSelect(bool on) override;
    void ApplyLook(const ListFont& font, int32_t background) override;
    ViewRect Bounds() const override { return bounds_; }
    void SetBounds(const ViewRect& bounds) override { bounds_ = bounds; }
    void SetListener(ListBoxListener* listener) override { listener_ = listener; }

    std::vector<std::string> Items() const { return items_; }

    // The user's actions. A click selects the item (with ctrl in
    // multi-selection it toggles the item and keeps the others) and reports
    // a click; a drag presses on from, starts, moves to to and releases there
    // (a click, the end of the drag, the button's release).
    void UserClick(int32_t index, bool ctrl = false);
    void UserDoubleClick(int32_t index);
    void UserDrag(int32_t from, int32_t to);
    void UserMouseUp(MouseButton button);

    // What was applied last, and how often.
    ListFont font;
    int32_t background = kColorWindow;
    int looksApplied = 0;
    int32_t topIndex = 0;  // where the test scrolled the box
    int modeSwitches = 0;

private:
    void SelectOnly(int32_t index);
    bool Valid(int32_t index) const { return index >= 0 && index < Count(); }

    std::vector<std::string> items_;
    std::vector<char> selected_;
    int32_t caret_ = -1;
    bool multi_ = false;
    ViewRect bounds_;
    ListBoxListener* listener_ = nullptr;
};

}  // namespace qel
