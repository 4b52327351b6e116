// Fills a freshly created form's selectors from the catalogue.
#pragma once

#include "catalogue.h"
#include "form.h"

// Runs the population steps at creation: enclosure type, bay selectors (by BAY_MASK and
// HALF_HEIGHT), default OS and column OS selectors. Sets form.enclosureType to Enhanced.
void populateForm(EnclosureForm& form, const BladeCatalogue& catalogue);

// Whether the selector of column c's upper (lower) bay offers the type.
bool offeredInUpperBay(const BladeType& type, int column);
bool offeredInLowerBay(const BladeType& type, int column);
