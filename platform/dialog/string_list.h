// The items of a list box or of a combo box's list: the strings, the selection and the first
// visible row, with the searches and the keyboard moves both controls share.
#pragma once

#include <string>
#include <vector>

#include "platform/terminal/event.h"

namespace zov {

class StringList {
  public:
    // As many items as a list holds before it answers "no space" (LB_ERRSPACE).
    static constexpr int kMaxItems = 32767;
    static constexpr int kError = -1;
    static constexpr int kErrorSpace = -2;

    explicit StringList(bool sorted = false) : sorted_(sorted) {}

    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const std::string& At(int index) const { return items_[static_cast<std::size_t>(index)]; }

    // Index of the new item (sorted lists insert in case-insensitive order), or kErrorSpace.
    int Add(const std::string& text);
    // index -1 appends. Index of the new item, kError for a bad index, kErrorSpace when full.
    int Insert(int index, const std::string& text);
    // The count left, or kError.
    int Remove(int index);
    void Clear();

    // The first item after start (start -1: from the first item) whose beginning (or, exact,
    // whole text) equals text without regard to case; the search wraps round. kError if none.
    int Find(int start, const std::string& text, bool exact) const;
    // The next item after the selection that starts with the letter, wrapping; kError if none.
    int FindLetter(char letter) const;

    int Selection() const { return selection_; }
    // index -1 clears; an index out of range changes nothing and answers false.
    bool Select(int index);

    int Top() const { return top_; }
    void SetTop(int top, int rows);
    // Scrolls so that the selection is within rows visible rows.
    void ShowSelection(int rows);

    // The selection a navigation key leads to in a list showing rows rows, or -2 when the key
    // is not a navigation key.
    int NavigationTarget(const KeyEvent& key, int rows) const;

  private:
    bool sorted_;
    std::vector<std::string> items_;
    int selection_ = -1;
    int top_ = 0;
};

// Case-insensitive comparison of 8-bit texts, as the list controls compare.
int CompareWithoutCase(const std::string& a, const std::string& b);
bool StartsWithoutCase(const std::string& text, const std::string& prefix);

}  // namespace zov
