// Word bindings: a 16-bit firmware variable shown by a readout when it changes.

#include "board/word_binding.h"

#include <gtest/gtest.h>

#include <vector>

#include "panel/panel_widget.h"

namespace {

class CStateLog : public CPanelWidget {
public:
    void SetState(int value) override { m_states.push_back(value); }
    std::vector<int> m_states;
};

class WordBinding : public ::testing::Test {
protected:
    uint16_t m_variable = 0;
    CStateLog m_readout;
    CWordBinding m_binding;
};

TEST_F(WordBinding, AChangeIsShownOnce)
{
    m_variable = 7;
    m_binding.Bind(&m_variable, &m_readout);
    EXPECT_EQ(m_readout.m_binding, &m_binding);
    m_binding.Sample();
    m_binding.Refresh();
    EXPECT_TRUE(m_readout.m_states.empty()) << "7 was sampled";

    m_variable = 8;
    m_binding.Refresh();
    m_binding.Refresh();
    EXPECT_EQ(m_readout.m_states, std::vector<int>{8}) << "7 -> 8 is announced once";
}

TEST_F(WordBinding, ValuesArriveUnsignedWhateverThePinFlag)
{
    m_readout.m_pinDriven = 0;
    m_binding.Bind(&m_variable, &m_readout);
    m_binding.Sample();
    m_variable = 65535;
    m_binding.Refresh();
    EXPECT_EQ(m_readout.m_states, std::vector<int>{65535});
}

TEST_F(WordBinding, AValueAlreadyThereAtSampleWaitsForTheNextChange)
{
    m_binding.Bind(&m_variable, &m_readout);
    m_variable = 3;
    m_binding.Sample();  // a firmware restart, with the variable already moved
    m_binding.Refresh();
    EXPECT_TRUE(m_readout.m_states.empty()) << "the readout keeps its old number";
    m_variable = 2;
    m_binding.Refresh();
    EXPECT_EQ(m_readout.m_states, std::vector<int>{2});
}

}  // namespace
