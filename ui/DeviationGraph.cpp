#include "DeviationGraph.h"

#include "TrackingCalculator.h"

DeviationGraph::DeviationGraph(const kalibrix::TrackingCalculator& calc, QWidget* parent)
    : QFrame(parent), calc_(calc)
{
}

void DeviationGraph::DrawDeviationGraph()
{
}
