#pragma once

namespace ferlin {

// The child screens of the frame, by what they are (each has its form name as object name).
enum class Screen {
    Intro,         // Intro, the progress screen
    Card,          // F_formul, the record card
    Search,        // Selecfr
    BasketList,    // F_grille
    Print,         // F_print
    Archives,      // F_Export
    Configuration, // Config, page 1 of the configuration
    TextLocation,  // F_copie, page 2
    State,         // F_état, the database-state chart
    Association,   // ORV
    FullText,      // the search inside the article texts
};

} // namespace ferlin
