// The about box's template and the right-click menus as the program carries
// them: what a resource editor would show, read from the resources themselves.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

struct Item {
    DWORD style;
    short cx, cy;
    DWORD id;
};

const BYTE* skipSzOrOrd(const BYTE* p)
{
    if (*reinterpret_cast<const WORD*>(p) == 0xFFFF)
        return p + 4;
    while (*reinterpret_cast<const WCHAR*>(p))
        p += 2;
    return p + 2;
}

const BYTE* alignDword(const BYTE* p, const BYTE* base)
{
    return base + ((p - base + 3) & ~3);
}

// The items of a DIALOGEX template.
std::vector<Item> dialogItems(int resource)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(resource), reinterpret_cast<LPCSTR>(RT_DIALOG));
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    WORD count = *reinterpret_cast<const WORD*>(base + 16);
    DWORD style = *reinterpret_cast<const DWORD*>(base + 12);
    const BYTE* p = skipSzOrOrd(skipSzOrOrd(skipSzOrOrd(base + 26)));  // menu, class, title
    if (style & DS_SETFONT)
        p = skipSzOrOrd(p + 6);
    std::vector<Item> items;
    for (WORD i = 0; i < count; ++i) {
        p = alignDword(p, base);
        Item item;
        std::memcpy(&item.style, p + 8, 4);
        std::memcpy(&item.cx, p + 16, 2);
        std::memcpy(&item.cy, p + 18, 2);
        std::memcpy(&item.id, p + 20, 4);
        items.push_back(item);
        p = skipSzOrOrd(skipSzOrOrd(p + 24));
        p += 2 + *reinterpret_cast<const WORD*>(p);
    }
    return items;
}

}  // namespace

TEST(AboutBox, IconIsTwentyUnitsSquareAndTheUnnamedTextsAreFFFF)
{
    std::vector<Item> items = dialogItems(103);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].id, 109u);
    EXPECT_EQ(items[0].style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
    EXPECT_EQ(items[0].cx, 20) << "the icon control's width in dialog units";
    EXPECT_EQ(items[0].cy, 20) << "the icon control's height in dialog units";
    EXPECT_EQ(items[2].id, 0xFFFFu) << "the second text line has no id of its own";
    EXPECT_EQ(items[4].id, 0xFFFFu) << "the third text line has no id of its own";
}

TEST(ContextMenus, ItemsAndIdsOfTheKitAndTheRowMenus)
{
    const struct {
        const char* name;
        std::vector<std::pair<const char*, UINT>> items;  // text, id; null text for a separator
    } menus[] = {
        {"RBTN_MENU1",
         {{"表示", 50000}, {"追加", 50001}, {nullptr, 0}, {"すべて表示", 32778}, {nullptr, 0}, {"最小化", 32788}}},
        {"RBTN_MENU2", {{"編集", 32779}, {"削除", 32782}, {nullptr, 0}, {"すべて表示", 32778}}},
    };
    for (const auto& menu : menus) {
        HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), menu.name);
        ASSERT_NE(loaded, nullptr) << menu.name;
        HMENU popup = GetSubMenu(loaded, 0);
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(menu.items.size())) << menu.name;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            char text[64] = "";
            GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
            const char* wanted = menu.items[i].first;
            EXPECT_STREQ(text, wanted ? wanted : "") << menu.name << " item " << i;
            EXPECT_EQ(GetMenuItemID(popup, i), wanted ? menu.items[i].second : 0u) << menu.name << " item " << i;
        }
        DestroyMenu(loaded);
    }
}
