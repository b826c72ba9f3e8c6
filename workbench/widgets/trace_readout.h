#pragma once
// The line under the trace dock's buttons that says what the cursors
// measure: both moments and the time between them, the width and period of
// the selected row's pulse at cursor A, and the first divergence from the
// baseline.

#include <QString>

class CTraceBuffer;
class CTraceView;

QString trace_readout(const CTraceView& view, const CTraceBuffer& buffer);
