#include "support/recording_surface.h"

CSurfaceCall CSurfaceCall::Picture(int id, const CRect& rect)
{
    CSurfaceCall call;
    call.kind = PICTURE;
    call.rect = rect;
    call.pictureId = id;
    return call;
}

CSurfaceCall CSurfaceCall::Fill(const CRect& rect, CColour colour)
{
    CSurfaceCall call;
    call.kind = FILL;
    call.rect = rect;
    call.colour = colour;
    return call;
}

CSurfaceCall CSurfaceCall::Outline(const CRect& rect)
{
    CSurfaceCall call;
    call.kind = OUTLINE;
    call.rect = rect;
    return call;
}

CSurfaceCall CSurfaceCall::Text(const std::string& text, const CRect& rect, CDrawSurface::TextMode mode)
{
    CSurfaceCall call;
    call.kind = TEXT;
    call.rect = rect;
    call.text = text;
    call.mode = mode;
    return call;
}

// Only the fields that belong to the call's kind take part.
bool CSurfaceCall::operator==(const CSurfaceCall& other) const
{
    if (kind != other.kind || !(rect == other.rect))
        return false;
    switch (kind) {
    case PICTURE:
        return pictureId == other.pictureId;
    case FILL:
        return colour.red == other.colour.red && colour.green == other.colour.green && colour.blue == other.colour.blue;
    case OUTLINE:
        return true;
    case TEXT:
        return text == other.text && mode == other.mode;
    }
    return false;
}

std::ostream& operator<<(std::ostream& out, const CSurfaceCall& call)
{
    const CRect& r = call.rect;
    const auto rect = [&] { out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")"; };
    switch (call.kind) {
    case CSurfaceCall::PICTURE:
        out << "picture " << call.pictureId << " into ";
        rect();
        break;
    case CSurfaceCall::FILL:
        out << "fill ";
        rect();
        out << " with (" << int(call.colour.red) << ", " << int(call.colour.green) << ", " << int(call.colour.blue)
            << ")";
        break;
    case CSurfaceCall::OUTLINE:
        out << "outline ";
        rect();
        break;
    case CSurfaceCall::TEXT:
        out << "text \"" << call.text << "\" " << (call.mode == CDrawSurface::TEXT_ABOVE ? "above in " : "centred in ");
        rect();
        break;
    }
    return out;
}

void CRecordingSurface::DrawPicture(int id, const CRect& dest) { m_calls.push_back(CSurfaceCall::Picture(id, dest)); }

void CRecordingSurface::FillRect(const CRect& rect, CColour colour)
{
    m_calls.push_back(CSurfaceCall::Fill(rect, colour));
}

void CRecordingSurface::OutlineRect(const CRect& rect) { m_calls.push_back(CSurfaceCall::Outline(rect)); }

void CRecordingSurface::DrawText(const std::string& text, const CRect& rect, TextMode mode)
{
    m_calls.push_back(CSurfaceCall::Text(text, rect, mode));
}

std::vector<std::string> CRecordingSurface::Texts() const
{
    std::vector<std::string> texts;
    for (const CSurfaceCall& call : m_calls)
        if (call.kind == CSurfaceCall::TEXT)
            texts.push_back(call.text);
    return texts;
}
