#include "store/project_list.h"

#include <cstdlib>
#include <cstring>

ProjectList::~ProjectList() {
    Clear();
}

bool ProjectList::Add(const char* name) {
    const size_t length = strlen(name) + 1;
    if (count_ == slots_) {
        const int slots = slots_ ? slots_ * 2 : 64;
        void* grown = realloc(starts_, sizeof(size_t) * size_t(slots));
        if (!grown)
            return false;
        starts_ = static_cast<size_t*>(grown);
        slots_ = slots;
    }
    if (used_ + length > capacity_) {
        size_t capacity = capacity_ ? capacity_ * 2 : 4096;
        while (capacity < used_ + length)
            capacity *= 2;
        void* grown = realloc(text_, capacity);
        if (!grown)
            return false;
        text_ = static_cast<char*>(grown);
        capacity_ = capacity;
    }
    memcpy(text_ + used_, name, length);
    starts_[count_++] = used_;
    used_ += length;
    return true;
}

const char* ProjectList::Name(int index) const {
    if (index < 0 || index >= count_)
        return "";
    return text_ + starts_[index];
}

void ProjectList::Clear() {
    free(text_);
    free(starts_);
    text_ = nullptr;
    starts_ = nullptr;
    used_ = capacity_ = 0;
    count_ = slots_ = 0;
}
