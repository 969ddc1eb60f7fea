#pragma once

// Registers the compiled-in resources (style sheets, images, translations).
void quellnetInitResources();
