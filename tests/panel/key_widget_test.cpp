// The push buttons, momentary and latching, on the keys' inverted pins and on
// a normal one.

#include "panel/key_widget.h"

#include "board/port_pin.h"
#include "panel/picture_ids.h"
#include "widget_fixture.h"

namespace {

constexpr int32_t NORMAL = 0;
constexpr int32_t INVERTED = 1;

class KeyWidget : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_key.Place("전원", 40, 40);
    }
    void BindPowerPin(int32_t polarity) { m_pin.Bind(&port0, POWER_ON_OFF.bit, polarity, "POWER_ON_OFF", &m_key); }
    CPortPin m_pin;
    CKeyWidget m_key;
};

const CRect KEY{40, 40, 64, 63};

TEST_F(KeyWidget, MomentaryKeyIsDownWhileHeldOnAnInvertedPin)
{
    sig_on(POWER_ON_OFF);  // released at rest
    BindPowerPin(INVERTED);
    EXPECT_EQ(m_key.m_pinDriven, 0);

    EXPECT_EQ(m_key.OnMouseDown(), 1) << "a key takes the mouse";
    EXPECT_EQ(m_key.m_pressed.load(), CKeyWidget::HELD);
    EXPECT_EQ(sig_read(POWER_ON_OFF), 0) << "the power key pressed pulls its bit low";
    EXPECT_EQ(DrawnBy(m_key),
              (Calls{CSurfaceCall::Picture(PICTURE_KEY_DOWN, KEY), CSurfaceCall::Text("전원", raised(KEY), ABOVE)}));

    // The release comes through the capture, wherever the pointer went meanwhile.
    EXPECT_EQ(m_key.OnMouseUp(), 1);
    EXPECT_EQ(m_key.m_pressed.load(), CKeyWidget::RELEASED);
    EXPECT_EQ(sig_read(POWER_ON_OFF), 1);
    EXPECT_EQ(DrawnBy(m_key)[0], CSurfaceCall::Picture(PICTURE_KEY_UP, KEY));
}

TEST_F(KeyWidget, MomentaryKeyOnANormalPinWritesTheLogicalState)
{
    BindPowerPin(NORMAL);
    m_key.OnMouseDown();
    EXPECT_EQ(sig_read(POWER_ON_OFF), 1);
    m_key.OnMouseUp();
    EXPECT_EQ(sig_read(POWER_ON_OFF), 0);
}

TEST_F(KeyWidget, LatchingKeyChangesOnlyAtTheRelease)
{
    sig_on(POWER_ON_OFF);
    BindPowerPin(INVERTED);
    m_key.SetLatching(1);

    m_key.OnMouseDown();
    EXPECT_EQ(m_key.m_pressed.load(), CKeyWidget::RELEASED) << "the press alone changes nothing";
    EXPECT_EQ(sig_read(POWER_ON_OFF), 1);
    EXPECT_EQ(DrawnBy(m_key)[0], CSurfaceCall::Picture(PICTURE_KEY_UP, KEY));

    m_key.OnMouseUp();
    EXPECT_EQ(m_key.m_pressed.load(), CKeyWidget::LATCHED) << "first click latches";
    EXPECT_EQ(sig_read(POWER_ON_OFF), 0) << "latched: logical 1 on the inverted pin";
    EXPECT_EQ(DrawnBy(m_key)[0], CSurfaceCall::Picture(PICTURE_KEY_DOWN, KEY));

    EXPECT_EQ(m_key.OnMouseDown(), 1);
    EXPECT_EQ(m_key.m_pressed.load(), CKeyWidget::LATCHED);
    EXPECT_EQ(m_key.OnMouseUp(), 1);
    EXPECT_EQ(m_key.m_pressed.load(), CKeyWidget::RELEASED) << "second click releases";
    EXPECT_EQ(sig_read(POWER_ON_OFF), 1);
}

TEST_F(KeyWidget, KeyWithoutAPinStillMoves)
{
    CKeyWidget key;
    key.OnMouseDown();
    EXPECT_EQ(key.m_pressed.load(), CKeyWidget::HELD);
    key.OnMouseUp();
    EXPECT_EQ(key.m_pressed.load(), CKeyWidget::RELEASED);
    EXPECT_EQ(port0.load(), 0);
}

}  // namespace
