#include "Controls.h"

#include <vector>

namespace ui {

std::string Window::GetText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return buffer.data();
}

std::string ComboBox::GetItemText(int index) const {
    LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

int ListView::InsertColumn(int index, const std::string& heading, int format) const {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = format;
    column.pszText = const_cast<char*>(heading.c_str());
    return static_cast<int>(Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int ListView::InsertItem(int index, const std::string& text) const {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::SetItemText(int index, int subItem, const std::string& text) const {
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text.c_str());
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

std::string ListView::GetItemText(int index, int subItem) const {
    // Grow until the text fits: the message returns the length it copied.
    for (size_t size = 256;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        LRESULT copied = Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (static_cast<size_t>(copied) + 1 < size || size >= 65536) return buffer.data();
    }
}

void ListView::SetItemState(int index, UINT state, UINT mask) const {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int ListView::FindSelectedRow() const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (GetItemState(i, LVIS_SELECTED) == LVIS_SELECTED) return i;
    }
    return -1;
}

}  // namespace ui
