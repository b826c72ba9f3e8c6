#pragma once
// A base fixture for tests of the assembled panel without time: a fresh view
// with its widgets laid out and the board attached, over a controller in its
// program-load state. No firmware thread runs.

#include <gtest/gtest.h>

#include <memory>

#include "app/core/simulator_view.h"
#include "sim/simulation_reset.h"

class CSimFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_simulation_statics();
        m_view = std::make_unique<CSimulatorView>();
        m_view->Layout();
        m_view->m_board.Attach(*m_view);
    }
    void TearDown() override
    {
        m_view.reset();
        reset_simulation_statics();
    }

    CSimulatorView& View() { return *m_view; }
    CSimBoard& Board() { return m_view->m_board; }

    std::unique_ptr<CSimulatorView> m_view;
};
