# Writes an Amiga floppy image (ADF) whose bootblock runs the given 68000 code: "DOS", checksum, root block 880.
import struct, sys
code=open(sys.argv[1],'rb').read()
bb=bytearray(1024)
bb[0:4]=b'DOS\0'; bb[8:12]=struct.pack('>I',880); bb[12:12+len(code)]=code
s=0
for i in range(0,1024,4):
    s+=struct.unpack('>I',bb[i:i+4])[0]
    if s>0xffffffff: s=(s&0xffffffff)+1
bb[4:8]=struct.pack('>I',(~s)&0xffffffff)
open(sys.argv[2],'wb').write(bytes(bb)+bytes(901120-1024))
