#include "library/time_slice.h"

#include <QCoreApplication>

namespace library {

TimeSlice::TimeSlice(int sliceMs) : sliceMs_(sliceMs)
{
    timer_.start();
}

void TimeSlice::processEvents()
{
    QCoreApplication::processEvents();
    timer_.restart();
}

} // namespace library
