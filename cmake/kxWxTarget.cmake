# Wraps Debian's wxWidgets 3.2 in one imported target, kxRuzoVori_wx, so the library, the
# tests and an installed host all take the toolkit's flags the same way.
if(NOT TARGET kxRuzoVori_wx)
    find_package(wxWidgets 3.2 REQUIRED COMPONENTS aui adv core net base)
    add_library(kxRuzoVori_wx INTERFACE IMPORTED)
    set(_kx_wx_defs ${wxWidgets_DEFINITIONS})
    set_target_properties(kxRuzoVori_wx PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES "${wxWidgets_INCLUDE_DIRS}"
        INTERFACE_COMPILE_DEFINITIONS "${_kx_wx_defs}"
        INTERFACE_COMPILE_OPTIONS "-pthread"
        INTERFACE_LINK_LIBRARIES "${wxWidgets_LIBRARIES}")
endif()
