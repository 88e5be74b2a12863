#!/usr/bin/env python3
"""Adds numbered texts to resources/Kelbrin.ini in both languages.

Usage: tools/add-texts.py FILE.tsv, each line "number<TAB>English<TAB>Polish".
Numbers already present are left as they are; each section stays sorted.
"""
import sys
tsv=sys.argv[1]; import os
ini=os.path.join(os.path.dirname(os.path.abspath(__file__)),'..','resources','Kelbrin.ini')
rows=[l.rstrip('\n').split('\t') for l in open(tsv,encoding='utf-8') if l.strip()]
s=open(ini,encoding='utf-8').read()
def insert(section, idx):
    global s
    start=s.index('['+section+']')
    nxt=s.find('\n[',start+1)
    end=len(s) if nxt<0 else nxt
    body=s[start:end]
    lines=body.rstrip('\n').split('\n')
    have={l.split('=')[0] for l in lines[1:] if '=' in l}
    add=[f"{r[0]}={r[idx]}" for r in rows if r[0] not in have]
    entries=[l for l in lines[1:] if l.strip()]+add
    entries.sort(key=lambda l:int(l.split('=')[0]) if l.split('=')[0].isdigit() else 0)
    newbody=lines[0]+'\n'+'\n'.join(entries)+'\n'
    if nxt>=0: newbody+='\n'
    s=s[:start]+newbody+s[end+ (1 if nxt>=0 else 0):]
insert('ENGLISH',1); insert('POLSKI',2)
open(ini,'w',encoding='utf-8').write(s)
