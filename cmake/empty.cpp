// Placeholder translation unit for the layer-check libraries.
