#include "workbench/model/draw_signature.h"

void CDrawSignature::Add(const void* data, size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        m_hash ^= bytes[i];
        m_hash *= 1099511628211ull;
    }
}

void CDrawSignature::DrawPicture(int id, const CRect& dest)
{
    Add("P", 1);
    Add(&id, sizeof id);
    Add(dest);
}

void CDrawSignature::FillRect(const CRect& rect, CColour colour)
{
    Add("F", 1);
    Add(rect);
    Add(&colour, sizeof colour);
}

void CDrawSignature::OutlineRect(const CRect& rect)
{
    Add("O", 1);
    Add(rect);
}

void CDrawSignature::DrawText(const std::string& text, const CRect& rect, TextMode mode)
{
    Add("T", 1);
    Add(text.data(), text.size());
    Add(rect);
    Add(&mode, sizeof mode);
}
