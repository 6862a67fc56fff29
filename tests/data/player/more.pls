[playlist]
File1=v.mp4
File4=main.m3u
File5=missing.ogg
NumberOfEntries=2
