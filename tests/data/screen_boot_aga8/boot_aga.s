| Bootblock for an AGA machine: 8 planes, 64-bit fetch, 256 colours set by the CPU through the banks.
    .text
start:
    lea     0xdff000,%a5
    move.w  #0x7fff,0x9a(%a5)
    move.w  #0x7fff,0x96(%a5)
    move.w  #0x7fff,0x9c(%a5)
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
| colours: bank b, register i: high nibbles i*$123+b*$456, low nibbles i*$351+b*$2A7
    moveq   #0,%d6
bank:
    move.w  %d6,%d0
    ror.w   #3,%d0
    or.w    #0x0c00,%d0
    move.w  %d0,0x106(%a5)
    lea     0x180(%a5),%a1
    move.w  %d6,%d1
    mulu.w  #0x456,%d1
    moveq   #31,%d7
high:
    move.w  %d1,(%a1)+
    add.w   #0x123,%d1
    dbra    %d7,high
    or.w    #0x0200,%d0
    move.w  %d0,0x106(%a5)
    lea     0x180(%a5),%a1
    move.w  %d6,%d1
    mulu.w  #0x2a7,%d1
    moveq   #31,%d7
low:
    move.w  %d1,(%a1)+
    add.w   #0x351,%d1
    dbra    %d7,low
    addq.w  #1,%d6
    cmp.w   #8,%d6
    bne.s   bank
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
    .include "coplist_aga.inc"
coplist_end:
