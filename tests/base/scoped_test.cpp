// Scoped holders give every handle back exactly once, on every way out of a scope.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/scoped.h"

namespace {

std::string ScratchFile(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

// Opens without sharing: a second open fails while the first handle is open.
HANDLE OpenExclusive(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

TEST(Scoped, AFileIsClosedWhenItsHolderGoes) {
    const std::string path = ScratchFile("tessaro-scoped-file.tmp");
    {
        base::ScopedFile file(OpenExclusive(path));
        ASSERT_TRUE(file.Valid());
        base::ScopedFile second(OpenExclusive(path));
        EXPECT_FALSE(second.Valid()) << "the first holder still has the file";
    }
    base::ScopedFile again(OpenExclusive(path));
    EXPECT_TRUE(again.Valid()) << "the file was closed at the end of the scope";
    EXPECT_TRUE(again.Close());
    EXPECT_FALSE(again.Valid());
    EXPECT_TRUE(again.Close()) << "closing an empty holder is harmless";
    DeleteFileA(path.c_str());
}

TEST(Scoped, ReleaseMoveAndOutHandOverOwnership) {
    const std::string path = ScratchFile("tessaro-scoped-move.tmp");
    HANDLE kept;
    {
        base::ScopedFile file(OpenExclusive(path));
        ASSERT_TRUE(file.Valid());
        base::ScopedFile moved(std::move(file));
        EXPECT_FALSE(file.Valid());
        EXPECT_TRUE(moved.Valid());
        kept = moved.Release();
    }
    EXPECT_FALSE(base::ScopedFile(OpenExclusive(path)).Valid()) << "released, so still open";
    {
        base::ScopedFile owner(kept);
        *owner.Out() = INVALID_HANDLE_VALUE; // Out closes what the holder had
        EXPECT_TRUE(base::ScopedFile(OpenExclusive(path)).Valid());
    }
    DeleteFileA(path.c_str());
}

TEST(Scoped, GdiObjectsAndMenusAreGivenBack) {
    HBRUSH brush;
    {
        base::ScopedBrush holder(CreateSolidBrush(RGB(1, 2, 3)));
        brush = holder.Get();
        EXPECT_EQ(GetObjectType(brush), DWORD(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(brush), 0u) << "the brush was deleted";

    HMENU menu;
    {
        base::ScopedMenu holder(CreatePopupMenu());
        menu = holder.Get();
        EXPECT_TRUE(IsMenu(menu));
    }
    EXPECT_FALSE(IsMenu(menu)) << "the menu was destroyed";
}

namespace {

// Counts its releases the way a COM object counts its references.
struct CountingObject : IUnknown {
    int releases = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(++releases); }
};

} // namespace

TEST(Scoped, ComPointersAreReleasedOnce) {
    CountingObject first, second;
    {
        base::ScopedCom<IUnknown> pointer;
        EXPECT_FALSE(pointer.Valid());
        *pointer.Out() = static_cast<IUnknown*>(&first);
        EXPECT_TRUE(pointer.Valid());
        *pointer.Out() = static_cast<IUnknown*>(&second); // releases the first
        EXPECT_EQ(first.releases, 1);
        EXPECT_EQ(second.releases, 0);
    }
    EXPECT_EQ(first.releases, 1);
    EXPECT_EQ(second.releases, 1);
}
