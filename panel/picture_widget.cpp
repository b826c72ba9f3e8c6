#include "panel/picture_widget.h"

// No caption, even if one was given.
void CPictureWidget::Draw(CDrawSurface& surface) { surface.DrawPicture(m_pictureId.load() & 0xFFFF, m_rect); }

void CPictureWidget::SetPicture(int id, int width, int height)
{
    m_pictureId.store(id);
    m_rect.right = m_rect.left + width;
    m_rect.bottom = m_rect.top + height;
}
