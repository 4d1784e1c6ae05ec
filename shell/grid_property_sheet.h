#pragma once

// The grid property sheet (spacing and style pages), modal; returns its result.
int ShowGridPropertySheet();
