[s]
Col0=64
Col1=64
Col2=30

