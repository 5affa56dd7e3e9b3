#pragma once

// The number of GDI objects the process holds. GetGuiResources reports 0
// under Wine; there every live object is found by its handle instead (Wine
// takes a handle whose high word is 0 as any generation of that slot).
int LiveGdiObjectCount();
