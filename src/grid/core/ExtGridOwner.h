#pragma once
// The grid that owns an in-place editor. An editor is only ever made by its grid; any other
// owner is a programming error and raises the invalid cast.
#include "grid/core/ExtGrid.h"

inline TExtStringGrid *OwnerGrid(TComponent *AOwner)
{
    auto *g = dynamic_cast<TExtStringGrid *>(AOwner);
    if (!g)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    return g;
}
