#pragma once
// A single-column list box as the playlist logic sees it: texts, selection,
// the selection mode and the look. The Windows implementation is a real
// LISTBOX; tests use an in-memory one.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ListLook.h"

namespace qel {

struct ViewRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const ViewRect&) const = default;
};

enum class MouseButton { Left, Right, Middle };

// A new text for one item.
struct ItemText {
    int32_t index = 0;
    std::string text;
};

// What the user does to the list box. The box reports each action after it
// has finished handling it (the selection already reflects the action), never
// from inside its own message handling, so a listener may change the box.
class ListBoxListener {
public:
    virtual ~ListBoxListener() = default;
    virtual void ListClick() {}                 // the user changed the selection
    virtual void ListDblClick() {}
    virtual void ListStartDrag() {}             // pressed on an item and moved
    virtual void ListEndDrag() {}               // released after a drag
    virtual void ListMouseUp(MouseButton) {}
};

class ListBoxView {
public:
    virtual ~ListBoxView() = default;

    virtual int32_t Count() const = 0;
    // The displayed text of item index (empty when out of range).
    virtual std::string Item(int32_t index) const = 0;
    // Replaces the text of item index; its selection stays. Out of range: nothing.
    virtual void SetItem(int32_t index, const std::string& text) = 0;
    // The same for several items at once, with one repaint.
    virtual void SetItems(const std::vector<ItemText>& changes) = 0;
    // Appends unselected items.
    virtual void AddItems(const std::vector<std::string>& texts) = 0;
    // Removes the items at the given ascending, distinct, valid indices.
    virtual void RemoveItems(const std::vector<int32_t>& ascending) = 0;
    // Moves item from so that it ends at index to, where it becomes the one
    // selected and focused item.
    virtual void MoveItem(int32_t from, int32_t to) = 0;
    virtual void Clear() = 0;

    // The selected index: in single selection the selected item; in
    // multi-selection the focused item when it is selected. -1 for none.
    virtual int32_t ItemIndex() const = 0;
    // The item shown at the top of the box (0 when empty).
    virtual int32_t TopIndex() const = 0;
    // Selects exactly item index and focuses it; -1 or an index out of
    // range leaves nothing selected.
    virtual void SetItemIndex(int32_t index) = 0;
    // Every selected item, ascending.
    virtual std::vector<int32_t> SelectedItems() const = 0;

    // Multi-selection with extended (Shift/Ctrl) selection, or single
    // selection. Switching keeps items, selection (the selected index when
    // going to single selection) and the scroll position.
    virtual bool MultiSelect() const = 0;
    virtual void SetMultiSelect(bool on) = 0;

    // Applies font and background colour with one repaint.
    virtual void ApplyLook(const ListFont& font, int32_t background) = 0;

    virtual ViewRect Bounds() const = 0;
    virtual void SetBounds(const ViewRect& bounds) = 0;

    // The one listener, or nullptr.
    virtual void SetListener(ListBoxListener* listener) = 0;
};

}  // namespace qel
