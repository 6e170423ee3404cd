#ifndef TAGKIND_H
#define TAGKIND_H

#include <QStringView>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// The element names the creature data readers act on. The sweep tells each
// start tag apart once, and every reader of that token uses the answer.
enum class TagKind : unsigned char {
    Other,
    Fauntome,
    Faunlet,
    Name,
    Stats,
    Moves,
    Move,
    Lvl,
    Condition,
    Evolutions,
    Type,
    Ability,
    Exp,
    HP,
    ATK,
    DEF,
    SPD,
    SAT,
    SDF,
    Height,
    Weight,
    Description,
};

namespace tagkind {

struct Known
{
    const char16_t* name;
    TagKind kind;
};

inline constexpr Known known[] = {
    {u"fauntome", TagKind::Fauntome},
    {u"faunlet", TagKind::Faunlet},
    {u"name", TagKind::Name},
    {u"stats", TagKind::Stats},
    {u"moves", TagKind::Moves},
    {u"move", TagKind::Move},
    {u"lvl", TagKind::Lvl},
    {u"condition", TagKind::Condition},
    {u"evolutions", TagKind::Evolutions},
    {u"type", TagKind::Type},
    {u"ability", TagKind::Ability},
    {u"exp", TagKind::Exp},
    {u"HP", TagKind::HP},
    {u"ATK", TagKind::ATK},
    {u"DEF", TagKind::DEF},
    {u"SPD", TagKind::SPD},
    {u"SAT", TagKind::SAT},
    {u"SDF", TagKind::SDF},
    {u"height", TagKind::Height},
    {u"weight", TagKind::Weight},
    {u"description", TagKind::Description},
};

constexpr unsigned slotOf(size_t size, char16_t first, char16_t last)
{
    return unsigned(size + first * 6u + last * 10u) & 63u;
}

// Slot -> index into `known`, -1 for none. Two names in one slot, or a name
// sameText() cannot compare, would stop the build here.
constexpr std::array<signed char, 64> makeSlots()
{
    std::array<signed char, 64> table{};
    for (signed char& slot : table)
        slot = -1;
    for (size_t i = 0; i < std::size(known); ++i) {
        const size_t size = std::char_traits<char16_t>::length(known[i].name);
        const unsigned slot = slotOf(size, known[i].name[0], known[i].name[size - 1]);
        if (size < 2 || size > 12 || table[slot] != -1)
            throw "two tag names share a slot";
        table[slot] = static_cast<signed char>(i);
    }
    return table;
}

inline constexpr std::array<signed char, 64> slotTable = makeSlots();

constexpr std::array<unsigned char, std::size(known)> makeSizes()
{
    std::array<unsigned char, std::size(known)> sizes{};
    for (size_t i = 0; i < std::size(known); ++i)
        sizes[i] = static_cast<unsigned char>(std::char_traits<char16_t>::length(known[i].name));
    return sizes;
}

inline constexpr std::array<unsigned char, std::size(known)> sizes = makeSizes();

// Equal texts of 2 to 12 characters, by a few overlapping loads that never
// read past either text.
inline bool sameText(const char16_t* a, const char16_t* b, size_t size)
{
    const auto load4 = [](const char16_t* p) {
        std::uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    const auto load8 = [](const char16_t* p) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    if (size < 4)
        return load4(a) == load4(b) && load4(a + size - 2) == load4(b + size - 2);
    return load8(a) == load8(b) && load8(a + size - 4) == load8(b + size - 4)
        && (size <= 8 || load8(a + 4) == load8(b + 4));
}

} // namespace tagkind

// A table look-up and one comparison, with no branch that depends on which
// name it is: this runs for every start tag of the file.
inline TagKind tagKindOf(QStringView name)
{
    const qsizetype size = name.size();
    if (size == 0)
        return TagKind::Other;
    const signed char index
        = tagkind::slotTable[tagkind::slotOf(size_t(size), name.front().unicode(), name.back().unicode())];
    if (index < 0)
        return TagKind::Other;
    const bool same = tagkind::sizes[size_t(index)] == size
        && tagkind::sameText(tagkind::known[index].name, name.utf16(), size_t(size));
    return same ? tagkind::known[index].kind : TagKind::Other;
}

#endif
