#include "media_menu/layout/EntryButtonList.h"

#include <new>

EntryButtonList::~EntryButtonList() {
    RemoveAll();
}

bool EntryButtonList::Append(EntryButton* button) {
    Node* node = new (std::nothrow) Node{button, nullptr};
    if (node == nullptr) {
        return false;
    }
    if (m_tail == nullptr) {
        m_head = node;
    } else {
        m_tail->next = node;
    }
    m_tail = node;
    ++m_count;
    return true;
}

EntryButtonList::Node* EntryButtonList::NodeAt(int index) const {
    if (index < 0 || index >= m_count) {
        return nullptr;
    }
    Node* node = m_head;
    for (int i = 0; i < index; ++i) {
        node = node->next;
    }
    return node;
}

EntryButton* EntryButtonList::GetAt(int index) const {
    Node* node = NodeAt(index);
    return node != nullptr ? node->button : nullptr;
}

void EntryButtonList::SetAt(int index, EntryButton* button) {
    if (Node* node = NodeAt(index)) {
        node->button = button;
    }
}

void EntryButtonList::RemoveAll() {
    while (Node* node = m_head) {
        m_head = node->next;
        delete node;
    }
    m_tail = nullptr;
    m_count = 0;
}
