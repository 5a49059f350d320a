#pragma once

class MainWindow;

// Writes the page's phone box into the phone field of its five groups.
void FillPagePhone(MainWindow& window, int page);

// Writes the all-pages phone box into the phone field of all 25 groups.
void FillAllPhone(MainWindow& window);
