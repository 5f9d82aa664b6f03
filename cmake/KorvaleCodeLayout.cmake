# The idle agent keeps few pages of its own code mapped when the functions it runs from its
# launch to its first idle ticks lie together: the kernel maps 64 KB or more of a program around
# each page touched (docs/agent.md, "Code laid out for the start"). Every function gets a section
# of its own, and the agent is linked by lld, which places the functions
# daemon/agent-start.order names first (scripts/order-agent-code.sh writes it). Without lld the
# agent links as the other programs do, its functions where their objects put them.
include(CheckLinkerFlag)
add_compile_options(-ffunction-sections)
check_linker_flag(CXX -fuse-ld=lld KORVALE_HAVE_LLD)

function(korvale_lay_out_start target order)
    if(NOT KORVALE_HAVE_LLD)
        message(STATUS "No lld: ${target}'s start-up code is not laid out together")
        return()
    endif()
    # After the directory's -fuse-ld=mold: the last one is the linker used.
    target_link_options(${target} PRIVATE -fuse-ld=lld LINKER:--symbol-ordering-file=${order}
        LINKER:--no-warn-symbol-ordering)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${order})
endfunction()
