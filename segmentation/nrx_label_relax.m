% NRX_LABEL_RELAX  One sweep of a Markov-random-field update of class probabilities.
%
%   Q = nrx_label_relax(P, F, G)
%   Q = nrx_label_relax(P, F, G, w)
%   nrx_label_relax(P, F, G[, w])      updates P itself, in place
%
%   P  uint8, d0 x d1 x d2 x K (K <= 1024 classes): class probabilities,
%      255 standing for 1.
%   F  single, the size of P: class likelihoods.
%   G  the interaction between the classes of face neighbours, one of:
%        single K x 1            one value per class (also K = 1: 1 x 1); any
%                                further dimensions after a second one of 1
%                                (K x 1 x N ...) are ignored: the first K
%                                values are used
%        single K x K            one matrix; column c of G gives class c
%        single d0 x d1 x d2 x K x K             a matrix per voxel
%        single d0 x d1 x d2 x K*(K-1)/2         a symmetric matrix with zero
%                                                diagonal per voxel, packed by
%                                                pairs (1,2), (1,3), ..., (2,3), ...
%        uint8  d0 x d1 x d2 x K*(K-1)/2         as above, as penalties of 1/16
%      Positive single entries favour a class (exp(+e)); larger uint8 entries
%      disfavour it (exp(-e/16)).
%   w  single, three elements: weights of the neighbours along the first,
%      second and third dimension. Default [1 1 1].
%
%   Q  uint8, d0 x d1 x d2 x K: the updated probabilities; P is unchanged.
%      Without an output P itself is overwritten, and so is every variable
%      that still shares its data: after B = P, or a copy kept in a struct
%      field or a function handle, those change too. To keep them, pass a
%      fresh copy (P = P + 0; before the call) or ask for Q.
%
%   Voxels are updated in two checkerboard passes (even i+j+k first): each
%   takes the weighted sum of its face neighbours' probabilities divided by
%   1530, turns it into class energies through G, multiplies exp(energy) by
%   its likelihoods and rescales the products to sum to about 255. A voxel
%   whose products sum to 0 (all likelihoods 0) becomes 0 in every class.
%   Call again for further sweeps.
