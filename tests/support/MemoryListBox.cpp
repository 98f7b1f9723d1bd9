#include "support/MemoryListBox.h"

#include <algorithm>

namespace qel {

int32_t MemoryListBox::Count() const { return static_cast<int32_t>(items_.size()); }

std::string MemoryListBox::Item(int32_t index) const { return Valid(index) ? items_[index] : std::string(); }

void MemoryListBox::SetItem(int32_t index, const std::string& text) {
    if (Valid(index)) items_[index] = text;
}

void MemoryListBox::SetItems(const std::vector<ItemText>& changes) {
    for (const auto& change : changes) SetItem(change.index, change.text);
}

void MemoryListBox::AddItems(const std::vector<std::string>& texts) {
    items_.insert(items_.end(), texts.begin(), texts.end());
    selected_.resize(items_.size(), 0);
}

void MemoryListBox::RemoveItems(const std::vector<int32_t>& ascending) {
    size_t keep = 0;
    size_t next = 0;
    int32_t caret = -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (next < ascending.size() && static_cast<size_t>(ascending[next]) == i) {
            ++next;
            continue;
        }
        if (static_cast<int32_t>(i) == caret_) caret = static_cast<int32_t>(keep);
        if (keep != i) {
            items_[keep] = std::move(items_[i]);
            selected_[keep] = selected_[i];
        }
        ++keep;
    }
    items_.resize(keep);
    selected_.resize(keep);
    caret_ = caret;
}

void MemoryListBox::MoveItem(int32_t from, int32_t to) {
    if (!Valid(from) || !Valid(to) || from == to) return;
    if (from < to)
        std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + to + 1);
    else
        std::rotate(items_.begin() + to, items_.begin() + from, items_.begin() + from + 1);
    SelectOnly(to);
}

void MemoryListBox::Clear() {
    items_.clear();
    selected_.clear();
    caret_ = -1;
}

int32_t MemoryListBox::ItemIndex() const { return Valid(caret_) && selected_[caret_] ? caret_ : -1; }

void MemoryListBox::SelectOnly(int32_t index) {
    std::fill(selected_.begin(), selected_.end(), 0);
    if (Valid(index)) {
        selected_[index] = 1;
        caret_ = index;
    }
}

void MemoryListBox::SetItemIndex(int32_t index) { SelectOnly(index); }

std::vector<int32_t> MemoryListBox::SelectedItems() const {
    std::vector<int32_t> out;
    for (size_t i = 0; i < selected_.size(); ++i)
        if (selected_[i]) out.push_back(static_cast<int32_t>(i));
    return out;
}

void MemoryListBox::SetMultiSelect(bool on) {
    if (on == multi_) return;
    if (!on) SelectOnly(ItemIndex());
    multi_ = on;
    ++modeSwitches;
}

void MemoryListBox::ApplyLook(const ListFont& f, int32_t bg) {
    font = f;
    background = bg;
    ++looksApplied;
}

void MemoryListBox::UserClick(int32_t index, bool ctrl) {
    if (!Valid(index)) return;
    if (multi_ && ctrl) {
        selected_[index] = !selected_[index];
        caret_ = index;
    } else {
        SelectOnly(index);
    }
    if (listener_) listener_->ListClick();
}

void MemoryListBox::UserDoubleClick(int32_t index) {
    if (!Valid(index)) return;
    SelectOnly(index);
    if (listener_) {
        listener_->ListClick();
        listener_->ListDblClick();
    }
}

void MemoryListBox::UserDrag(int32_t from, int32_t to) {
    if (!Valid(from) || !Valid(to)) return;
    SelectOnly(from);
    if (listener_) listener_->ListStartDrag();
    // Moving with the button down: single selection follows the pointer,
    // extended selection spans from the pressed item to the pointer.
    if (multi_) {
        std::fill(selected_.begin(), selected_.end(), 0);
        for (int32_t i = std::min(from, to); i <= std::max(from, to); ++i) selected_[i] = 1;
        caret_ = to;
    } else {
        SelectOnly(to);
    }
    // Released: the box reports the changed selection, then the end of the drag.
    if (listener_) {
        listener_->ListClick();
        listener_->ListEndDrag();
        listener_->ListMouseUp(MouseButton::Left);
    }
}

void MemoryListBox::UserMouseUp(MouseButton button) {
    if (listener_) listener_->ListMouseUp(button);
}

}  // namespace qel
