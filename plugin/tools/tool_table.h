/* Titles and tooltips of the nineteen tools, by ToolId. */
#ifndef SMEARCRAFT_TOOL_TABLE_H
#define SMEARCRAFT_TOOL_TABLE_H

#include "globals.h"

typedef struct ToolRow {
    const char *title; /* also the name the tool is added under */
    const char *tooltip;
} ToolRow;

extern const ToolRow ToolTable[kToolCount];

#endif
