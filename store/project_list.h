// File names of projects in a fixed order (a folder listing, the project selector, the
// projects chosen for a consolidation), kept in one block that grows as names come.
#pragma once
#include <cstddef>

class ProjectList {
  public:
    ProjectList() = default;
    ~ProjectList();
    ProjectList(const ProjectList&) = delete;
    ProjectList& operator=(const ProjectList&) = delete;

    // Adds a copy of name; false when memory runs out (the list then stays as it was).
    bool Add(const char* name);
    int Count() const { return count_; }
    // The name at index, or "" outside the list.
    const char* Name(int index) const;
    void Clear();

  private:
    char* text_ = nullptr; // the names one after another, each terminated
    size_t used_ = 0;
    size_t capacity_ = 0;
    size_t* starts_ = nullptr; // where each name begins in text_
    int count_ = 0;
    int slots_ = 0;
};
