| Bootblock that shows a low-resolution 5-plane screen with colours changed in mid-screen.
    .text
start:
    lea     0xdff000,%a5
    move.w  #0x7fff,0x9a(%a5)
    move.w  #0x7fff,0x96(%a5)
    move.w  #0x7fff,0x9c(%a5)
| fill the planes at 0x30000: PLANEBYTES bytes each, NPLANES planes, a pattern per plane
    lea     0x30000,%a0
    move.l  #PLANEBYTES*NPLANES/2-1,%d7
    moveq   #0,%d0
fill:
    move.l  %d0,%d1
    mulu.w  #0x9e37,%d1
    swap    %d1
    move.l  %d0,%d2
    lsr.l   #5,%d2
    eor.w   %d2,%d1
    move.w  %d1,(%a0)+
    addq.l  #1,%d0
    subq.l  #1,%d7
    bpl.s   fill
| copy the copper list to 0x20000
    lea     coplist(%pc),%a0
    lea     0x20000,%a1
    move.w  #(coplist_end-coplist)/2-1,%d7
copy:
    move.w  (%a0)+,(%a1)+
    dbra    %d7,copy
    move.l  #0x20000,0x80(%a5)
    move.w  #0,0x88(%a5)
    move.w  #0x8380,0x96(%a5)
forever:
    bra.s   forever

    .even
coplist:
    .include "coplist.inc"
coplist_end:
