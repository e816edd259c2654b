#pragma once

// Lets assistive technology see our picture buttons as push buttons and our
// grids as tables of cells. The widgets call it as they are made, before
// anything can ask how they look to assistive technology.
void InstallAccessibility();
