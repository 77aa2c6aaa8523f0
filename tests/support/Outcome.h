#pragma once

#include "platform/RunError.h"

#include <QByteArray>

// What the call gives, or "error N" when it throws RunError number N.
template <typename Call> QByteArray outcome(Call call)
{
    try {
        return call();
    } catch (const RunError& error) {
        return "error " + QByteArray::number(error.number());
    }
}
