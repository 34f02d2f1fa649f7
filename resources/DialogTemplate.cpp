#include "resources/DialogTemplate.h"

#include "resources/ByteReader.h"

namespace resources {

namespace {

NameOrOrdinal ReadNameOrOrdinal(ByteReader& r) {
    NameOrOrdinal field;
    size_t start = r.offset();
    uint16_t first = r.u16();
    if (!r.ok() || first == 0)
        return field;
    field.present = true;
    if (first == 0xFFFF) {
        field.isOrdinal = true;
        field.ordinal = r.u16();
        return field;
    }
    r.seek(start);
    field.text = r.utf16z();
    return field;
}

int16_t ReadI16(ByteReader& r) {
    return static_cast<int16_t>(r.u16());
}

void ReadRect(ByteReader& r, int16_t& x, int16_t& y, int16_t& cx, int16_t& cy) {
    x = ReadI16(r);
    y = ReadI16(r);
    cx = ReadI16(r);
    cy = ReadI16(r);
}

// Class, text and creation data, which both kinds of item store alike.
void ReadControlTail(ByteReader& r, DialogControl& c) {
    NameOrOrdinal cls = ReadNameOrOrdinal(r);
    if (cls.isOrdinal) {
        c.classAtom = cls.ordinal;
        c.className = PredefinedClassName(cls.ordinal);
    } else {
        c.className = cls.text;
    }
    c.text = ReadNameOrOrdinal(r);
    uint16_t extra = r.u16();
    const uint8_t* bytes = r.bytes(extra);
    if (r.ok() && extra > 0)
        c.creationData.assign(bytes, bytes + extra);
}

DialogControl ReadExtendedControl(ByteReader& r) {
    DialogControl c;
    r.alignTo(4);
    c.helpId = r.u32();
    c.exStyle = r.u32();
    c.style = r.u32();
    ReadRect(r, c.x, c.y, c.cx, c.cy);
    c.id = r.u32();
    ReadControlTail(r, c);
    return c;
}

DialogControl ReadClassicControl(ByteReader& r) {
    DialogControl c;
    r.alignTo(4);
    c.style = r.u32();
    c.exStyle = r.u32();
    ReadRect(r, c.x, c.y, c.cx, c.cy);
    c.id = r.u16();
    ReadControlTail(r, c);
    return c;
}

} // namespace

std::u16string PredefinedClassName(uint16_t atom) {
    static const char16_t* const kNames[] = {u"BUTTON",  u"EDIT",      u"STATIC",
                                             u"LISTBOX", u"SCROLLBAR", u"COMBOBOX"};
    if (atom < 0x80 || atom > 0x85)
        return {};
    return kNames[atom - 0x80];
}

int DialogControl::controlId() const {
    if (id == 0xFFFF || id == 0xFFFFFFFF)
        return -1;
    return static_cast<int>(id);
}

std::optional<DialogTemplate> ParseDialogTemplate(const uint8_t* data, size_t size) {
    ByteReader r(data, size);
    DialogTemplate d;
    uint16_t version = r.u16();
    uint16_t signature = r.u16();
    d.extended = r.ok() && version == 1 && signature == 0xFFFF;
    uint16_t count = 0;
    if (d.extended) {
        d.helpId = r.u32();
        d.exStyle = r.u32();
        d.style = r.u32();
    } else {
        r.seek(0);
        d.style = r.u32();
        d.exStyle = r.u32();
    }
    count = r.u16();
    ReadRect(r, d.x, d.y, d.cx, d.cy);
    d.menu = ReadNameOrOrdinal(r);
    d.windowClass = ReadNameOrOrdinal(r);
    d.caption = r.utf16z();
    if (d.style & kDsSetFont) {
        d.hasFont = true;
        d.pointSize = r.u16();
        if (d.extended) {
            d.weight = r.u16();
            d.italic = r.u8();
            d.charset = r.u8();
        }
        d.face = r.utf16z();
    }
    if (!r.ok())
        return std::nullopt;
    for (uint16_t i = 0; i < count && r.ok(); ++i)
        d.controls.push_back(d.extended ? ReadExtendedControl(r) : ReadClassicControl(r));
    if (!r.ok())
        return std::nullopt;
    return d;
}

} // namespace resources
