#include "platform/win32/Win32ListBox.h"

#include <cstdlib>
#include <cstring>

#include "platform/win32/Win32Module.h"

namespace qel {
namespace {

constexpr char kFrameClass[] = "QelListFrame";
constexpr UINT kNoticeMessage = WM_APP + 0x51;

}  // namespace

COLORREF ColorRefOf(int32_t value, int fallbackSystemIndex) {
    if (value == kColorNone || value == kColorDefault) return GetSysColor(fallbackSystemIndex);
    uint32_t bits = static_cast<uint32_t>(value);
    if ((bits & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(bits & 0xFFu));
    return bits & 0x00FFFFFFu;
}

Win32ListBox::Win32ListBox(HWND parent, const ViewRect& bounds, bool multiSelect)
    : multi_(multiSelect), bounds_(bounds), text_(GetSysColor(COLOR_WINDOWTEXT)), back_(GetSysColor(COLOR_WINDOW)) {
    HINSTANCE instance = ThisModule();
    EnsureWindowClass(kFrameClass, FrameProc);
    brush_ = CreateSolidBrush(back_);
    frame_ = CreateWindowExA(0, kFrameClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                             bounds.left, bounds.top, bounds.width, bounds.height, parent, nullptr, instance, this);
    CreateList();
}

void Win32ListBox::UnregisterFrameClass() { UnregisterClassA(kFrameClass, ThisModule()); }

Win32ListBox::~Win32ListBox() {
    if (frame_) {
        SetWindowLongPtrA(frame_, GWLP_USERDATA, 0);
        DestroyWindow(frame_);
    }
    if (font_) DeleteObject(font_);
    if (brush_) DeleteObject(brush_);
}

void Win32ListBox::CreateList() {
    RECT client{};
    GetClientRect(frame_, &client);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  (multi_ ? LBS_EXTENDEDSEL : 0);
    list_ = CreateWindowExA(0, "LISTBOX", "", style, 0, 0, client.right, client.bottom, frame_, nullptr,
                            ThisModule(), nullptr);
    SetWindowLongPtrA(list_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listDefault_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ListBox::ListProc)));
    if (font_) Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    pressed_ = dragging_ = false;
}

void Win32ListBox::Redraw(bool on) {
    Send(WM_SETREDRAW, on ? TRUE : FALSE);
    if (on) InvalidateRect(list_, nullptr, TRUE);
}

int32_t Win32ListBox::Count() const {
    LRESULT n = Send(LB_GETCOUNT);
    return n == LB_ERR ? 0 : static_cast<int32_t>(n);
}

std::string Win32ListBox::Item(int32_t index) const {
    LRESULT length = Valid(index) ? Send(LB_GETTEXTLEN, static_cast<WPARAM>(index)) : LB_ERR;
    if (length == LB_ERR || length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void Win32ListBox::SetItem(int32_t index, const std::string& text) { SetItems({ItemText{index, text}}); }

// A list box cannot change a text in place: the items are replaced and their
// selection, the selected index, the focus and the scroll position put back.
void Win32ListBox::SetItems(const std::vector<ItemText>& changes) {
    const int32_t count = Count();
    std::vector<const ItemText*> valid;
    for (const auto& change : changes)
        if (Valid(change.index)) valid.push_back(&change);
    if (valid.empty()) return;
    const Selection kept = KeepSelection();
    Redraw(false);
    if (2 * valid.size() >= static_cast<size_t>(count)) {
        // Half the items or more: refilling the box moves no item around.
        // Only the items that keep their text are asked for it.
        std::vector<const std::string*> changed(static_cast<size_t>(count), nullptr);
        for (const ItemText* change : valid) changed[static_cast<size_t>(change->index)] = &change->text;
        std::vector<std::string> texts;
        texts.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) texts.push_back(changed[i] ? *changed[i] : Item(i));
        Send(LB_RESETCONTENT);
        Fill(texts);
    } else {
        for (const ItemText* change : valid) {
            Send(LB_DELETESTRING, static_cast<WPARAM>(change->index));
            Send(LB_INSERTSTRING, static_cast<WPARAM>(change->index), reinterpret_cast<LPARAM>(change->text.c_str()));
        }
    }
    RestoreSelection(kept);
    Redraw(true);
}

Win32ListBox::Selection Win32ListBox::KeepSelection() const {
    return Selection{ItemIndex(), SelectedItems(), Send(LB_GETCARETINDEX), Send(LB_GETTOPINDEX)};
}

void Win32ListBox::RestoreSelection(const Selection& kept) {
    if (multi_) {
        for (int32_t item : kept.selected) Send(LB_SETSEL, TRUE, item);
        if (kept.caret != LB_ERR && Valid(static_cast<int32_t>(kept.caret)))
            Send(LB_SETCARETINDEX, static_cast<WPARAM>(kept.caret), FALSE);
    } else if (kept.index >= 0) {
        Send(LB_SETCURSEL, static_cast<WPARAM>(kept.index));
    }
    if (kept.top != LB_ERR) Send(LB_SETTOPINDEX, static_cast<WPARAM>(kept.top));
}

void Win32ListBox::Fill(const std::vector<std::string>& texts) {
    size_t bytes = 0;
    for (const auto& t : texts) bytes += t.size() + 1;
    Send(LB_INITSTORAGE, static_cast<WPARAM>(texts.size()), static_cast<LPARAM>(bytes));
    for (const auto& t : texts) Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
}

void Win32ListBox::AddItems(const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    Redraw(false);
    Fill(texts);
    Redraw(true);
}

void Win32ListBox::RemoveItems(const std::vector<int32_t>& ascending) {
    if (ascending.empty()) return;
    Redraw(false);
    for (auto it = ascending.rbegin(); it != ascending.rend(); ++it)
        Send(LB_DELETESTRING, static_cast<WPARAM>(*it));
    Redraw(true);
}

void Win32ListBox::MoveItem(int32_t from, int32_t to) {
    if (!Valid(from) || !Valid(to) || from == to) return;
    const std::string text = Item(from);
    Redraw(false);
    Send(LB_DELETESTRING, static_cast<WPARAM>(from));
    Send(LB_INSERTSTRING, static_cast<WPARAM>(to), reinterpret_cast<LPARAM>(text.c_str()));
    SetItemIndex(to);
    Redraw(true);
}

void Win32ListBox::Clear() { Send(LB_RESETCONTENT); }

int32_t Win32ListBox::TopIndex() const {
    const LRESULT top = Send(LB_GETTOPINDEX);
    return top == LB_ERR ? 0 : static_cast<int32_t>(top);
}

int32_t Win32ListBox::ItemIndex() const {
    if (!multi_) {
        LRESULT selected = Send(LB_GETCURSEL);
        return selected == LB_ERR ? -1 : static_cast<int32_t>(selected);
    }
    LRESULT caret = Send(LB_GETCARETINDEX);
    if (caret == LB_ERR || !Valid(static_cast<int32_t>(caret))) return -1;
    return Send(LB_GETSEL, static_cast<WPARAM>(caret)) > 0 ? static_cast<int32_t>(caret) : -1;
}

void Win32ListBox::SetItemIndex(int32_t index) {
    if (!multi_) {
        Send(LB_SETCURSEL, Valid(index) ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1));
        return;
    }
    Send(LB_SETSEL, FALSE, -1);
    if (Valid(index)) {
        Send(LB_SETSEL, TRUE, index);
        Send(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    }
}

std::vector<int32_t> Win32ListBox::SelectedItems() const {
    if (!multi_) {
        int32_t index = ItemIndex();
        return index < 0 ? std::vector<int32_t>{} : std::vector<int32_t>{index};
    }
    LRESULT n = Send(LB_GETSELCOUNT);
    if (n == LB_ERR || n <= 0) return {};
    std::vector<int> items(static_cast<size_t>(n));
    LRESULT got = Send(LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(items.data()));
    items.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return std::vector<int32_t>(items.begin(), items.end());
}

void Win32ListBox::SetMultiSelect(bool on) {
    if (on == multi_) return;
    const int32_t count = Count();
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) texts.push_back(Item(i));
    const Selection kept = KeepSelection();
    const bool focused = GetFocus() == list_;

    HWND old = list_;
    WNDPROC oldDefault = listDefault_;
    multi_ = on;
    CreateList();
    SetWindowLongPtrA(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldDefault));
    SetWindowLongPtrA(old, GWLP_USERDATA, 0);
    DestroyWindow(old);
    Redraw(false);
    Fill(texts);
    RestoreSelection(kept);
    Redraw(true);
    if (focused) SetFocus(list_);
}

void Win32ListBox::ApplyLook(const ListFont& font, int32_t background) {
    LOGFONTA lf{};
    HDC screen = GetDC(nullptr);
    lf.lfHeight = -MulDiv(font.size, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = font.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
    HFONT created = CreateFontIndirectA(&lf);

    text_ = ColorRefOf(font.color, COLOR_WINDOWTEXT);
    back_ = ColorRefOf(background, COLOR_WINDOW);
    HBRUSH brush = CreateSolidBrush(back_);

    Redraw(false);
    if (created) Send(WM_SETFONT, reinterpret_cast<WPARAM>(created), FALSE);
    if (created) {
        if (font_) DeleteObject(font_);
        font_ = created;
    }
    if (brush) {
        if (brush_) DeleteObject(brush_);
        brush_ = brush;
    }
    Redraw(true);
}

void Win32ListBox::SetBounds(const ViewRect& bounds) {
    bounds_ = bounds;
    MoveWindow(frame_, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

void Win32ListBox::Post(Notice notice, LPARAM detail) {
    PostMessageA(frame_, kNoticeMessage, static_cast<WPARAM>(notice), detail);
}

void Win32ListBox::Deliver(Notice notice, LPARAM detail) {
    if (!listener_) return;
    switch (notice) {
    case Notice::Click: listener_->ListClick(); break;
    case Notice::DblClick: listener_->ListDblClick(); break;
    case Notice::StartDrag: listener_->ListStartDrag(); break;
    case Notice::EndDrag: listener_->ListEndDrag(); break;
    case Notice::MouseUp: listener_->ListMouseUp(static_cast<MouseButton>(detail)); break;
    }
}

LRESULT Win32ListBox::OnListMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    if (msg == WM_MOUSEMOVE && pressed_ && !dragging_ && (wp & MK_LBUTTON) &&
        (std::abs(at.x - pressAt_.x) >= GetSystemMetrics(SM_CXDRAG) ||
         std::abs(at.y - pressAt_.y) >= GetSystemMetrics(SM_CYDRAG))) {
        // The drag starts with the selection as it was pressed: the box sees
        // this move only after the start has been reported.
        dragging_ = true;
        Post(Notice::StartDrag);
        PostMessageA(list_, msg, wp, lp);
        return 0;
    }
    LRESULT result = CallWindowProcA(listDefault_, list_, msg, wp, lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
        pressed_ = true;
        dragging_ = false;
        pressAt_ = at;
        break;
    case WM_LBUTTONUP:
        if (dragging_) Post(Notice::EndDrag);
        pressed_ = dragging_ = false;
        Post(Notice::MouseUp, static_cast<LPARAM>(MouseButton::Left));
        break;
    case WM_RBUTTONUP:
        Post(Notice::MouseUp, static_cast<LPARAM>(MouseButton::Right));
        break;
    case WM_MBUTTONUP:
        Post(Notice::MouseUp, static_cast<LPARAM>(MouseButton::Middle));
        break;
    default:
        break;
    }
    return result;
}

LRESULT CALLBACK Win32ListBox::ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Win32ListBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->list_ == hwnd) return self->OnListMessage(msg, wp, lp);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Win32ListBox::FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32ListBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, self->text_);
        SetBkColor(dc, self->back_);
        return reinterpret_cast<LRESULT>(self->brush_);
    }
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lp) == self->list_) {
            if (HIWORD(wp) == LBN_SELCHANGE) self->Post(Notice::Click);
            if (HIWORD(wp) == LBN_DBLCLK) self->Post(Notice::DblClick);
        }
        return 0;
    case WM_SIZE:
        if (self->list_) MoveWindow(self->list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (self->list_) SetFocus(self->list_);
        return 0;
    default:
        if (msg == kNoticeMessage) {
            self->Deliver(static_cast<Notice>(wp), lp);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

}  // namespace qel
