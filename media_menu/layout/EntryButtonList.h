// The menu's entry buttons in menu order: a singly linked list, appended at
// the tail and reached by index by walking from the head. The menu holds a
// few dozen entries at most, so the walk costs nothing worth a better
// structure. The list only stores the pointers; whoever appends a button
// stays responsible for destroying it.
#pragma once

class EntryButton;

class EntryButtonList {
public:
    EntryButtonList() = default;
    // Frees the list's own storage, never the buttons.
    ~EntryButtonList();
    EntryButtonList(const EntryButtonList&) = delete;
    EntryButtonList& operator=(const EntryButtonList&) = delete;

    // False, with the list unchanged, when no memory is left for the link.
    bool Append(EntryButton* button);
    // Null for an index outside 0 .. count - 1.
    EntryButton* GetAt(int index) const;
    // Does nothing for an index outside 0 .. count - 1.
    void SetAt(int index, EntryButton* button);
    int GetCount() const { return m_count; }
    void RemoveAll();

private:
    struct Node {
        EntryButton* button;
        Node* next;
    };

    Node* NodeAt(int index) const;

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};
