// Random search for a magic multiplier of one square at a given index width.
// Usage: find_magics <square 0..63> <1 rook | 0 bishop> <index bits> [seed]
// Build: g++ -O2 -o find_magics scripts/find_magics.cpp
// The rook squares a8, b8, c8 and h8 would allow one bit less than their mask
// squares with colliding subsets; no such multiplier turned up within an hour of
// searching, so those four squares use the full width.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <random>
typedef uint64_t U64;
static U64 sliding(int sq, U64 occ, bool rook) {
  static const int rd[4][2]={{1,0},{-1,0},{0,1},{0,-1}}, bd[4][2]={{1,1},{1,-1},{-1,1},{-1,-1}};
  U64 a=0; int f0=sq&7,r0=sq>>3;
  for(int d=0;d<4;d++){int df=rook?rd[d][0]:bd[d][0],dr=rook?rd[d][1]:bd[d][1];int f=f0+df,r=r0+dr;
    while(f>=0&&f<8&&r>=0&&r<8){int s=r*8+f;a|=1ULL<<s;if(occ>>s&1)break;f+=df;r+=dr;}}
  return a;
}
static U64 mask(int sq,bool rook){
  U64 m=0;int f0=sq&7,r0=sq>>3;
  if(rook){for(int f=f0+1;f<7;f++)m|=1ULL<<(r0*8+f);for(int f=f0-1;f>0;f--)m|=1ULL<<(r0*8+f);
    for(int r=r0+1;r<7;r++)m|=1ULL<<(r*8+f0);for(int r=r0-1;r>0;r--)m|=1ULL<<(r*8+f0);}
  else{static const int bd[4][2]={{1,1},{1,-1},{-1,1},{-1,-1}};for(int d=0;d<4;d++){int f=f0+bd[d][0],r=r0+bd[d][1];
    while(f>0&&f<7&&r>0&&r<7){m|=1ULL<<(r*8+f);f+=bd[d][0];r+=bd[d][1];}}}
  return m;
}
int main(int argc,char**argv){
  int sq=atoi(argv[1]); bool rook=atoi(argv[2]); int bits=atoi(argv[3]); unsigned seed=argc>4?atoi(argv[4]):1;
  U64 m=mask(sq,rook); int n=__builtin_popcountll(m);
  std::vector<int> idx; for(int s=0;s<64;s++) if(m>>s&1) idx.push_back(s);
  std::vector<U64> occ(1<<n),att(1<<n);
  for(int k=0;k<(1<<n);k++){U64 o=0;for(int l=0;l<n;l++)if(k>>l&1)o|=1ULL<<idx[l];occ[k]=o;att[k]=sliding(sq,o,rook);}
  std::mt19937_64 rng(seed*7919+sq);
  std::vector<U64> used(1<<bits); std::vector<unsigned> epoch(1<<bits,0); unsigned ep=0;
  for(long long t=0;;t++){
    U64 magic=rng()&rng()&rng();
    if(__builtin_popcountll((m*magic)>>56)<6) continue;
    ep++; bool ok=true;
    for(int k=0;k<(1<<n)&&ok;k++){unsigned i=(unsigned)((occ[k]*magic)>>(64-bits));
      if(epoch[i]!=ep){epoch[i]=ep;used[i]=att[k];} else if(used[i]!=att[k]) ok=false;}
    if(ok){printf("%d %d %d 0x%016llXULL tries=%lld\n",sq,rook,bits,(unsigned long long)magic,t);return 0;}
  }
}
